#include "platform/qt/QtWindowSystem.h"

#include <QByteArray>
#include <QtGlobal>

namespace glimpa {

namespace {

constexpr char kPlatformVariable[] = "QT_QPA_PLATFORM";
constexpr char kXFirst[] = "xcb;wayland";

}  // namespace

void preferPlaceableWindows() {
    const bool wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (wayland && !qEnvironmentVariableIsSet(kPlatformVariable) &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv(kPlatformVariable, kXFirst);
    }
}

void forgetWindowSystemChoice() {
    if (qgetenv(kPlatformVariable) == kXFirst) {
        qunsetenv(kPlatformVariable);
    }
}

}  // namespace glimpa
