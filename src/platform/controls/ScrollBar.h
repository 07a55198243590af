#pragma once

#include <cstdint>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace glimpa {

/// A scroll bar. Min may exceed Max; Value always lies between them. Steps
/// must be at least 1. A change of value raises Change; dragging the thumb
/// raises Scroll instead.
class ScrollBar : public Control {
public:
    ScrollBar(std::string name, Control* container, bool vertical);
    ControlKind kind() const override {
        return m_vertical ? ControlKind::VScrollBar : ControlKind::HScrollBar;
    }

    std::int32_t min() const { return m_min; }
    std::int32_t max() const { return m_max; }
    std::int32_t value() const { return m_value; }
    std::int32_t smallChange() const { return m_smallChange; }
    std::int32_t largeChange() const { return m_largeChange; }

    void setMin(std::int32_t min);
    void setMax(std::int32_t max);
    bool setValue(std::int32_t value);
    bool setSmallChange(std::int32_t step);
    bool setLargeChange(std::int32_t step);

    /// The user drags the thumb to this value.
    void platformScroll(std::int32_t value);
    /// The user lets go of the thumb.
    void platformScrollEnd() { Change(); }

    Event<> Change;
    Event<> Scroll;

private:
    std::int32_t low() const { return m_min < m_max ? m_min : m_max; }
    std::int32_t high() const { return m_min < m_max ? m_max : m_min; }
    void clampValue();

    bool m_vertical;
    std::int32_t m_min = 0;
    std::int32_t m_max = 32767;
    std::int32_t m_value = 0;
    std::int32_t m_smallChange = 1;
    std::int32_t m_largeChange = 1;
};

class HScrollBar : public ScrollBar {
public:
    HScrollBar(std::string name, Control* container)
        : ScrollBar(std::move(name), container, false) {}
};

class VScrollBar : public ScrollBar {
public:
    VScrollBar(std::string name, Control* container)
        : ScrollBar(std::move(name), container, true) {}
};

}  // namespace glimpa
