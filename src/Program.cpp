#include "Program.h"

#include <QApplication>

#include "app/Identity.h"
#include "platform/qt/QtArtwork.h"

namespace glimpa {

Program::Program(QString settingsFolder)
    : m_settings(std::move(settingsFolder)),
      m_windows(m_help),
      m_app(Services{m_messages, m_settings, m_timers, m_pointer, m_process, m_help, m_decoder,
                     m_environment, m_windows}) {}

Program::~Program() = default;

void Program::introduce() {
    QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(kProgramVersion));
    QApplication::setDesktopFileName(QString::fromUtf8(kDesktopId));
    QApplication::setWindowIcon(QtArtwork::programIcon());
}

}  // namespace glimpa
