#include <QApplication>

#include "app/Main.h"
#include "platform/qt/FontWarmUp.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char* argv[]) {
    glimpa::FontWarmUp fonts;
    QApplication application(argc, argv);
    fonts.applicationStarted();
    QApplication::setApplicationName(QStringLiteral("GLIMPA"));
    QApplication::setApplicationVersion(QStringLiteral("2.5.15"));
    glimpa::QtProgram program;
    glimpa::Main(program.app());
    return QApplication::exec();
}
