#include <malloc.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "CommandLine.h"
#include "Program.h"
#include "app/Identity.h"
#include "app/Main.h"
#include "app/Opening.h"
#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/QtStartupNotice.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/StartupWarmUp.h"
#include "viewer/frmImageViewer.h"

namespace {

/// Qt aborts, advising a reinstall, when it cannot open the display named; the
/// user is told plainly instead, and the program ends with status 1. Other
/// messages go to the standard error as Qt's own handler writes them.
void endPlainlyIfTheDisplayFails(QtMsgType type, const QMessageLogContext& context,
                                 const QString& message) {
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    const QByteArray display =
        qEnvironmentVariableIsEmpty("DISPLAY") ? qgetenv("WAYLAND_DISPLAY") : qgetenv("DISPLAY");
    std::fprintf(stderr, "%s: no display to show pictures on (%s could not be opened)\n",
                 glimpa::kProgramTitle, display.isEmpty() ? "the platform" : display.constData());
    std::_Exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A picture's pixels go back to the system when they are freed, instead
    // of staying in the heap (whose threshold for that otherwise rises to the
    // size of the last picture freed, up to 32 MB).
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    glimpa::answerHelpAndVersion(argc, argv);
    if (!glimpa::displayNamed(argc, argv)) {
        std::fprintf(stderr, "%s: no display to show pictures on (DISPLAY is not set)\n",
                     glimpa::kProgramTitle);
        return 1;
    }
    const QByteArray startupId = glimpa::launcherStartupId();
    glimpa::preferPlaceableWindows();
    glimpa::StartupWarmUp warmUp;
    qInstallMessageHandler(endPlainlyIfTheDisplayFails);
    QApplication application(argc, argv);  // takes its own options out of argv
    qInstallMessageHandler(nullptr);
    glimpa::forgetWindowSystemChoice();
    warmUp.applicationStarted();
    glimpa::Program::introduce();
    const std::optional<std::vector<std::string>> named =
        glimpa::pathsFromCommandLine(application, argc, argv);
    if (!named) {
        warmUp.finish();
        return 1;
    }
    const std::vector<std::string>& paths = *named;

    // Files to show go to the program that runs already, if there is one.
    // The channel is claimed before the windows are built, so that a start a
    // moment after this one hands its files here rather than open a program
    // of its own; a start that lost that race hands its files to the winner.
    // A program that does not answer in time (hung) is left to itself.
    glimpa::QtInstanceChannel channel;
    using Answer = glimpa::QtInstanceChannel::Answer;
    auto handOver = [&] {
        return paths.empty() ? Answer::NoProgram : channel.handOver({paths, startupId});
    };
    Answer answer = handOver();
    if (answer == Answer::NoProgram && !channel.listen()) {
        answer = handOver();
    }
    if (answer == Answer::Taken) {
        warmUp.finish();
        return 0;
    }
    glimpa::Program program;
    glimpa::Main(program.app());
    warmUp.waitForFontConfiguration();
    if (!paths.empty()) {
        // Once the main window is up, so that any message stands over it.
        QTimer::singleShot(0, &application, [&] { glimpa::OpenPictures(program.app(), paths); });
    }
    // What other starts handed over meanwhile comes after this start's own files.
    glimpa::AppContext& app = program.app();
    channel.receive(
        [&](const glimpa::QtInstanceChannel::Handover& handed) {
            glimpa::OpenPictures(app, handed.paths);
            glimpa::Form& viewer = app.frmImageViewer().form();
            viewer.show();
            glimpa::completeStartup(*program.backend().widgetFor(viewer), handed.startupId);
        },
        [&app] { return app.AppClosing; });
    const int code = QApplication::exec();
    warmUp.finish();
    return code;
}
