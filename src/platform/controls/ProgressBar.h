#pragma once

#include "platform/controls/Control.h"

namespace glimpa {

/// A progress bar; Value must lie between Min and Max.
class ProgressBar : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::ProgressBar; }

    float min() const { return m_min; }
    float max() const { return m_max; }
    float value() const { return m_value; }
    bool setMin(float min) {
        if (min > m_max) {
            return false;
        }
        m_min = min;
        changed(Aspect::Range);
        return true;
    }
    bool setMax(float max) {
        if (max < m_min) {
            return false;
        }
        m_max = max;
        if (m_value > m_max) {
            m_value = m_max;
        }
        changed(Aspect::Range);
        return true;
    }
    bool setValue(float value) {
        if (value < m_min || value > m_max) {
            return false;
        }
        assignValue(m_value, value);
        return true;
    }

private:
    float m_min = 0;
    float m_max = 100;
    float m_value = 0;
};

}  // namespace glimpa
