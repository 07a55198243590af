#pragma once

#include <cstdint>
#include <map>

#include "platform/services/TimerService.h"

namespace glimpa::test {

/// A clock that only moves when told: advance(ms) fires every timer that falls
/// due on the way, in order of due time (scheduling order for equal times).
class ManualClock : public TimerService {
public:
    void schedule(Timer& timer, int intervalMs) override;
    void cancel(Timer& timer) override { m_timers.erase(&timer); }
    void suspend() override { ++m_suspended; }
    void resume() override;
    void advance(std::int64_t ms);
    std::int64_t now() const { return m_now; }
    bool isScheduled(const Timer& timer) const {
        return m_timers.contains(const_cast<Timer*>(&timer));
    }

private:
    struct Entry {
        std::int64_t due;
        std::int64_t sequence;
        int intervalMs;
    };
    std::map<Timer*, Entry> m_timers;
    std::int64_t m_now = 0;
    std::int64_t m_sequence = 0;
    int m_suspended = 0;
};

}  // namespace glimpa::test
