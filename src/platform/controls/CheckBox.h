#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// A check box with the values 0 (unchecked), 1 (checked) and 2 (greyed).
/// A change of value, by code or by the user, raises Click.
class CheckBox : public Control {
public:
    static constexpr int Unchecked = 0;
    static constexpr int Checked = 1;
    static constexpr int Grayed = 2;

    using Control::Control;
    ControlKind kind() const override { return ControlKind::CheckBox; }

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) {
        m_caption = std::move(caption);
        changed(Aspect::Text);
    }

    int value() const { return m_value; }
    bool setValue(int value) {
        if (value < Unchecked || value > Grayed) {
            return false;
        }
        assignValue(m_value, value, &Click);
        return true;
    }
    /// The user's click: toggles between checked and unchecked.
    void click() {
        if (enabled()) {
            setValue(m_value == Checked ? Unchecked : Checked);
        }
    }

    Event<> Click;

private:
    std::string m_caption;
    int m_value = Unchecked;
};

}  // namespace glimpa
