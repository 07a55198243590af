#include "support/ManualClock.h"

#include <algorithm>

#include "platform/controls/Timer.h"

namespace glimpa::test {

void ManualClock::schedule(Timer& timer, int intervalMs) {
    m_timers[&timer] = {m_now + intervalMs, m_sequence++, intervalMs};
}

void ManualClock::resume() {
    if (--m_suspended == 0) {
        for (auto& [timer, entry] : m_timers) {
            entry = {m_now + entry.intervalMs, m_sequence++, entry.intervalMs};
        }
    }
}

void ManualClock::advance(std::int64_t ms) {
    const std::int64_t end = m_now + ms;
    while (m_suspended == 0) {
        Timer* next = nullptr;
        Entry nextEntry{};
        for (const auto& [timer, entry] : m_timers) {
            if (entry.due <= end &&
                (next == nullptr || entry.due < nextEntry.due ||
                 (entry.due == nextEntry.due && entry.sequence < nextEntry.sequence))) {
                next = timer;
                nextEntry = entry;
            }
        }
        if (next == nullptr) {
            break;
        }
        m_now = nextEntry.due;
        m_timers[next] = {m_now + nextEntry.intervalMs, m_sequence++, nextEntry.intervalMs};
        next->fire();
    }
    m_now = std::max(m_now, end);
}

}  // namespace glimpa::test
