#pragma once

#include <future>
#include <thread>

namespace glimpa {

/// Reads the system's fonts on a thread of its own from the very start of the
/// program: it is the slowest part of start-up and nothing needs the fonts
/// before the first window is painted. The font configuration is read at
/// once; the application's font list once the application object exists.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    /// The application object now exists.
    void applicationStarted();

private:
    std::promise<void> m_started;
    bool m_told = false;
    std::thread m_thread;
};

}  // namespace glimpa
