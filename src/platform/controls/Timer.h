#pragma once

#include <string>

#include "platform/controls/Event.h"

namespace glimpa {

class TimerService;

/// A timer that raises Tick every interval while it is enabled and its interval
/// is above 0. Enabling it, or setting its interval (even to the same value),
/// starts the count of the interval afresh.
class Timer {
public:
    Timer(std::string name, TimerService& service);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return m_name; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    int interval() const { return m_intervalMs; }
    bool setInterval(int intervalMs);

    /// Called by the timer service when the interval has passed.
    void fire();

    Event<> Tick;

private:
    void reschedule();

    std::string m_name;
    TimerService& m_service;
    bool m_enabled = true;
    int m_intervalMs = 0;
};

}  // namespace glimpa
