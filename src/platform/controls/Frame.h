#pragma once

#include "platform/controls/Control.h"

namespace glimpa {

/// A titled group box that contains other controls.
class Frame : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Frame; }

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) {
        m_caption = std::move(caption);
        changed(Aspect::Text);
    }

private:
    std::string m_caption;
};

}  // namespace glimpa
