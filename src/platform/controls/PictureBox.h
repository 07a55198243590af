#pragma once

#include <cstdint>

#include "platform/controls/Control.h"

namespace glimpa {

/// A panel with a plain background that contains other controls.
class PictureBox : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::PictureBox; }

    /// Background colour as 0xRRGGBB; negative for the platform's window colour.
    std::int32_t backColor() const { return m_backColor; }
    void setBackColor(std::int32_t rgb) {
        m_backColor = rgb;
        changed(Aspect::Style);
    }

    /// Draws the panel now rather than at the next idle moment.
    void refresh() { changed(Aspect::Style); }

private:
    std::int32_t m_backColor = -1;
};

}  // namespace glimpa
