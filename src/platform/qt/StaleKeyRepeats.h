#pragma once

#include <QKeyEvent>
#include <chrono>
#include <optional>

namespace glimpa {

/// Tells the repeats of a held key that waited too long to be handled. Held
/// over pictures that take longer to show than the key takes to repeat, the
/// repeats pile up and the program would go on paging long after the key is
/// let go; the stale ones are let go instead, so that it keeps pace with the
/// key and stops with it.
///
/// An event's time comes from the window system's clock; the least gap seen
/// between that clock and this one is taken as an event handled at once.
class StaleKeyRepeats {
public:
    /// A repeat that waited this long is stale.
    static constexpr std::chrono::milliseconds kStaleAfter{100};

    /// Whether this key press is a repeat that waited kStaleAfter or more
    /// since it was made; learns the window system's clock from every event.
    bool stale(const QKeyEvent& key, std::chrono::steady_clock::time_point now);

private:
    std::optional<std::chrono::milliseconds> m_leastGap;
};

}  // namespace glimpa
