#include "platform/controls/ScrollBar.h"

namespace glimpa {

ScrollBar::ScrollBar(std::string name, Control* container, bool vertical)
    : Control(std::move(name), container), m_vertical(vertical) {}

void ScrollBar::setMin(std::int32_t min) {
    if (m_min != min) {
        m_min = min;
        changed(Aspect::Range);
        clampValue();
    }
}

void ScrollBar::setMax(std::int32_t max) {
    if (m_max != max) {
        m_max = max;
        changed(Aspect::Range);
        clampValue();
    }
}

bool ScrollBar::setValue(std::int32_t value) {
    if (value < low() || value > high()) {
        return false;
    }
    assignValue(m_value, value, &Change);
    return true;
}

bool ScrollBar::setSmallChange(std::int32_t step) {
    if (step < 1) {
        return false;
    }
    if (m_smallChange != step) {
        m_smallChange = step;
        changed(Aspect::Range);
    }
    return true;
}

bool ScrollBar::setLargeChange(std::int32_t step) {
    if (step < 1) {
        return false;
    }
    if (m_largeChange != step) {
        m_largeChange = step;
        changed(Aspect::Range);
    }
    return true;
}

void ScrollBar::platformScroll(std::int32_t value) {
    if (value < low() || value > high() || value == m_value) {
        return;
    }
    m_value = value;
    changed(Aspect::Value);
    Scroll();
}

void ScrollBar::clampValue() {
    if (m_value < low()) {
        setValue(low());
    } else if (m_value > high()) {
        setValue(high());
    }
}

}  // namespace glimpa
