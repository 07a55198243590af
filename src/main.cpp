#include <QApplication>

#include "app/Main.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/StartupWarmUp.h"

int main(int argc, char* argv[]) {
    glimpa::StartupWarmUp warmUp;
    QApplication application(argc, argv);
    warmUp.applicationStarted();
    QApplication::setApplicationName(QStringLiteral("GLIMPA"));
    QApplication::setApplicationVersion(QStringLiteral("2.5.15"));
    glimpa::QtProgram program;
    glimpa::Main(program.app());
    warmUp.waitForFontConfiguration();
    const int code = QApplication::exec();
    warmUp.finish();
    return code;
}
