#include "platform/qt/QtStartupNotice.h"

#include <QWidget>
#include <cstring>

#include "platform/qt/X11.h"

namespace glimpa {

namespace {

using x11::atomNamed;

/// A value of a startup-notification message: quoted, with its quotes and
/// backslashes escaped, when it holds a blank, a quote or a backslash.
QByteArray quotedValue(const QByteArray& value) {
    if (!value.contains(' ') && !value.contains('"') && !value.contains('\\')) {
        return value;
    }
    QByteArray escaped = value;
    escaped.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + escaped + '"';
}

/// Broadcasts a startup-notification message on the root window: client
/// messages of 20 bytes each, the first of them marked as the beginning, the
/// text ended by a zero byte.
void broadcast(xcb_connection_t* connection, xcb_window_t root, const QByteArray& text) {
    const xcb_window_t sender = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, root, -100, -100, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t begin = atomNamed(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atomNamed(connection, "_NET_STARTUP_INFO");
    const QByteArray ended = text + '\0';
    constexpr qsizetype kChunk = 20;
    for (qsizetype at = 0; at < ended.size(); at += kChunk) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, ended.constData() + at,
                    static_cast<std::size_t>(std::min(kChunk, ended.size() - at)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_destroy_window(connection, sender);
}

}  // namespace

QByteArray launcherStartupId() {
    return qgetenv("DESKTOP_STARTUP_ID");
}

void completeStartup(QWidget& window, const QByteArray& id) {
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr || id.isEmpty()) {
        return;
    }
    // A window manager takes the id's time from this property of a window
    // that is mapped already, and activates the window with it.
    xcb_change_property(
        connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
        atomNamed(connection, "_NET_STARTUP_ID"), atomNamed(connection, "UTF8_STRING"), 8,
        static_cast<std::uint32_t>(id.size()), id.constData());
    broadcast(connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root,
              "remove: ID=" + quotedValue(id));
    xcb_flush(connection);
}

}  // namespace glimpa
