#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>

namespace glimpa {

/// True while a modal box waits for the user's answer and the widget is not
/// part of it. Qt keeps the mouse and the keys from such a widget, but not an
/// assistive tool's actions (press, toggle, select a row): those are not
/// taken either, so that nothing changes behind the box's question.
inline bool blockedByModalBox(const QWidget* widget) {
    const QWidget* box = QApplication::activeModalWidget();
    return box != nullptr && box != widget && !box->isAncestorOf(widget);
}

/// Runs work at once, or, while a modal box waits for an answer, once no box
/// waits any more (and the box's own work has ended), so that nothing opens
/// behind a question. Nothing runs if the context goes first.
void whenNoModalBox(QObject* context, std::function<void()> work);

}  // namespace glimpa
