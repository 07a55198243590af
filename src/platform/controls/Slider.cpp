#include "platform/controls/Slider.h"

#include <algorithm>

namespace glimpa {

void Slider::setRange(int min, int max) {
    m_min = min;
    m_max = std::max(min, max);
    changed(Aspect::Range);
    setValue(std::clamp(m_value, m_min, m_max));
}

bool Slider::setValue(int value) {
    if (value < m_min || value > m_max) {
        return false;
    }
    assignValue(m_value, value, &Change);
    return true;
}

}  // namespace glimpa
