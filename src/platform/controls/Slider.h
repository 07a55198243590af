#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// A slider with a whole-number value between Min and Max. A change of value,
/// by code or by the user, raises Change; a mouse press raises MouseDown.
class Slider : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Slider; }

    int min() const { return m_min; }
    int max() const { return m_max; }
    int value() const { return m_value; }
    void setRange(int min, int max);
    bool setValue(int value);

    Event<> Change;
    Event<> MouseDown;

private:
    int m_min = 0;
    int m_max = 10;
    int m_value = 0;
};

}  // namespace glimpa
