#include <QApplication>

#include "Program.h"
#include "app/Identity.h"
#include "app/Main.h"
#include "platform/qt/StartupWarmUp.h"

int main(int argc, char* argv[]) {
    glimpa::StartupWarmUp warmUp;
    QApplication application(argc, argv);
    warmUp.applicationStarted();
    QApplication::setApplicationName(QString::fromUtf8(glimpa::kProgramTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(glimpa::kProgramVersion));
    glimpa::Program program;
    glimpa::Main(program.app());
    warmUp.waitForFontConfiguration();
    const int code = QApplication::exec();
    warmUp.finish();
    return code;
}
