#include "platform/qt/StartupWarmUp.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QList>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace glimpa {

StartupWarmUp::StartupWarmUp() {
    std::promise<void> configured;
    m_configured = configured.get_future();
    m_thread = std::thread(
        [configured = std::move(configured), started = m_started.get_future()]() mutable {
            FcInit();
            configured.set_value();
            started.wait();
            if (QGuiApplication::instance() != nullptr) {
                QFontDatabase::families();
                QImageReader::supportedImageFormats();
            }
        });
}

StartupWarmUp::~StartupWarmUp() {
    finish();
}

void StartupWarmUp::applicationStarted() {
    if (!m_told) {
        m_told = true;
        m_started.set_value();
    }
}

void StartupWarmUp::waitForFontConfiguration() {
    m_configured.wait();
}

void StartupWarmUp::finish() {
    applicationStarted();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace glimpa
