#pragma once

#include <QByteArray>

class QWidget;

namespace glimpa {

/// A launcher (a file manager, a menu) that starts a program on X11 gives it
/// a startup id: the window manager brings a window to the front for that
/// start only with it (the id carries the time of the user's click), and the
/// launcher shows the start as busy until the id is declared complete. Qt
/// does both for the first window it shows; a start that hands its files to
/// the program already running needs them done there.

/// The id this process was started with. Read it before the QApplication is
/// made: Qt takes it out of the environment.
QByteArray launcherStartupId();

/// Completes the start of `id` on `window`, shown already: the window
/// manager brings it forward with the time of the user's request, and the
/// launcher ends its busy feedback. Nothing for an empty id or off X11.
void completeStartup(QWidget& window, const QByteArray& id);

}  // namespace glimpa
