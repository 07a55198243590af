#pragma once

#include <QString>

#include "app/AppContext.h"
#include "decoding/PictureDecoder.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimerService.h"
#include "platform/qt/widgets/PictureWidget.h"

namespace glimpa {

/// The program on Qt: every service, the widget binding and the application
/// context over them. Made after the QApplication and gone before it.
class Program {
public:
    explicit Program(QString settingsFolder = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    /// Names the program to Qt and to the desktop: its title and version,
    /// its desktop entry and its windows' icon. Once, after the QApplication
    /// is made.
    static void introduce();

    AppContext& app() { return m_app; }
    QtBackend& backend() { return m_windows; }

private:
    QtTimerService m_timers;
    QtMessageBoxes m_messages{m_timers};
    QtSettingsStore m_settings;
    QtMousePointer m_pointer;
    QtProcessControl m_process;
    QtHelpViewer m_help{m_messages};
    PictureDecoder m_decoder{&PictureWidget::updateAllSoon};
    QtEnvironment m_environment;
    QtBackend m_windows;
    AppContext m_app;
};

}  // namespace glimpa
