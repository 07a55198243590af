#pragma once

#include "platform/controls/Control.h"

namespace glimpa {

enum class TextAlign { Left, Center, Right };

/// A line of text.
class Label : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Label; }

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) {
        if (m_caption != caption) {
            m_caption = std::move(caption);
            changed(Aspect::Text);
        }
    }
    TextAlign alignment() const { return m_alignment; }
    void setAlignment(TextAlign alignment) { m_alignment = alignment; }

private:
    std::string m_caption;
    TextAlign m_alignment = TextAlign::Left;
};

}  // namespace glimpa
