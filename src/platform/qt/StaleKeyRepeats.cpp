#include "platform/qt/StaleKeyRepeats.h"

namespace glimpa {

namespace {

/// A wait longer than this is no wait: the window system's clock was set
/// anew (it wraps after 49 days), or the events come from another source.
constexpr std::chrono::seconds kClockChanged{10};

}  // namespace

bool StaleKeyRepeats::stale(const QKeyEvent& key, std::chrono::steady_clock::time_point now) {
    if (key.timestamp() == 0) {
        return false;  // made by the program itself, at no time
    }
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) -
                     std::chrono::milliseconds(key.timestamp());
    if (!m_leastGap || gap < *m_leastGap || gap - *m_leastGap > kClockChanged) {
        m_leastGap = gap;
    }
    return key.type() == QEvent::KeyPress && key.isAutoRepeat() && gap - *m_leastGap >= kStaleAfter;
}

}  // namespace glimpa
