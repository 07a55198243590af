// Starts either the viewer or a bare Qt window with one line of text (fonts on
// both sides) and, at the first paint, prints
// the milliseconds since the moment the parent passed (CLOCK_MONOTONIC
// nanoseconds) and leaves at once.
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include "Program.h"
#include "app/Main.h"
#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/StartupWarmUp.h"

namespace {

std::int64_t g_startNs = 0;

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

/// Reports and leaves when the first widget has been painted.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            static_cast<QWidget*>(watched)->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::printf("%.3f\n", static_cast<double>(monotonicNs() - g_startNs) / 1e6);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    g_startNs = argc > 1 ? std::atoll(argv[1]) : monotonicNs();
    const bool bare = argc > 2 && std::strcmp(argv[2], "--bare") == 0;
    std::optional<glimpa::StartupWarmUp> warmUp;
    if (!bare) {
        warmUp.emplace();
    }
    QApplication application(argc, argv);
    if (warmUp) {
        warmUp->applicationStarted();
    }
    FirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    if (bare) {
        QLabel window(QStringLiteral("One line of text in the default font"));
        window.showMaximized();
        return QApplication::exec();
    }
    glimpa::Program::introduce();
    // As the program does, on a channel of its own.
    glimpa::QtInstanceChannel channel(
        QDir::temp().filePath(QStringLiteral("glimpa-probe-channel")));
    channel.listen();
    glimpa::Program program(QStringLiteral("/nonexistent/glimpa-probe"));
    glimpa::Main(program.app());
    warmUp->waitForFontConfiguration();
    return QApplication::exec();
}
