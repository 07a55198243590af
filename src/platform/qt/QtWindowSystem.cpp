#include "platform/qt/QtWindowSystem.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>
#include <string_view>

#include "platform/qt/X11.h"

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

bool displayNamed(int argc, char* argv[]) {
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform") {
            return true;
        }
    }
    return !qEnvironmentVariableIsEmpty(kPlatformVariable) ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool windowManagerRuns() {
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    }
    // A window manager that follows the desktop's conventions names its
    // check window on the root window.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_get_property_reply_t, x11::FreeReply> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root,
                         x11::atomNamed(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0,
                         1),
        nullptr));
    return reply != nullptr && xcb_get_property_value_length(reply.get()) > 0;
}

void forgetWindowSystemChoice() {
    if (qgetenv(kPlatformVariable) == kXFirst) {
        qunsetenv(kPlatformVariable);
    }
}

}  // namespace glimpa
