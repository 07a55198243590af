#include "platform/controls/Timer.h"

#include "platform/services/TimerService.h"

namespace glimpa {

Timer::Timer(std::string name, TimerService& service)
    : m_name(std::move(name)), m_service(service) {}

Timer::~Timer() {
    m_service.cancel(*this);
}

void Timer::setEnabled(bool on) {
    if (m_enabled == on) {
        return;
    }
    m_enabled = on;
    reschedule();
}

bool Timer::setInterval(int intervalMs) {
    if (intervalMs < 0) {
        return false;
    }
    m_intervalMs = intervalMs;
    reschedule();
    return true;
}

void Timer::fire() {
    if (m_enabled && m_intervalMs > 0) {
        Tick();
    }
}

void Timer::reschedule() {
    if (m_enabled && m_intervalMs > 0) {
        m_service.schedule(*this, m_intervalMs);
    } else {
        m_service.cancel(*this);
    }
}

}  // namespace glimpa
