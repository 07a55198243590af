#pragma once

#include <future>
#include <thread>

namespace glimpa {

/// Does the slow, once-per-process preparations of the first paint on a
/// thread of its own from the very start of the program: fontconfig's own
/// initialisation (reading the font configuration), then, once the
/// application object exists, the list of fonts and the image format plugins
/// (the platform style draws some frames from images).
///
/// The user-interface thread must not use fonts until
/// `waitForFontConfiguration` has returned: a second thread that starts
/// reading the configuration meanwhile reads all of it again. Building
/// windows uses no fonts; painting and measuring text does.
class StartupWarmUp {
public:
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    /// The application object now exists.
    void applicationStarted();
    /// Returns once the font configuration has been read.
    void waitForFontConfiguration();
    /// Returns once everything is done; call it before the application
    /// object goes.
    void finish();

private:
    std::future<void> m_configured;
    std::promise<void> m_started;
    bool m_told = false;
    std::thread m_thread;
};

}  // namespace glimpa
