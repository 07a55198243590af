#pragma once

#include <cstdint>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

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

    /// Whether Tab stops at the panel; a panel that only holds other controls
    /// takes no focus from the keyboard or the mouse.
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool on) {
        m_tabStop = on;
        changed(Aspect::Style);
    }

    /// Draws the panel now rather than at the next idle moment.
    void refresh() { changed(Aspect::Style); }

    /// A key pressed (or repeated while held) while the panel has the focus:
    /// its key code and the modifier state.
    void platformKeyDown(int keyCode, int shift) { KeyDown(keyCode, shift); }

    Event<int, int> KeyDown;

private:
    std::int32_t m_backColor = -1;
    bool m_tabStop = true;
};

}  // namespace glimpa
