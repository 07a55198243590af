#include <QApplication>

#include "app/AppContext.h"
#include "app/Main.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimerService.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("GLIMPA"));
    QApplication::setApplicationVersion(QStringLiteral("2.5.15"));

    glimpa::QtMessageBoxes messages;
    glimpa::QtSettingsStore settings;
    glimpa::QtTimerService timers;
    glimpa::QtMousePointer pointer;
    glimpa::QtProcessControl process;
    glimpa::QtHelpViewer help;
    glimpa::QtImageDecoder decoder;
    glimpa::QtEnvironment environment;
    glimpa::QtBackend windows(help);

    glimpa::AppContext app(glimpa::Services{messages, settings, timers, pointer, process, help,
                                            decoder, environment, windows});
    glimpa::Main(app);
    return QApplication::exec();
}
