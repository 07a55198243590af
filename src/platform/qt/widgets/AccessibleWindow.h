#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

namespace glimpa {

template <typename Window>
QAccessibleInterface* accessibleAsWindow(const QString& className, QObject* object) {
    if (className != QLatin1String(Window::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<Window*>(object), QAccessible::Window);
}

/// Has assistive tools present the top-level widgets of this class as
/// windows, so that a screen reader announces a window by its title when it
/// becomes active (a plain widget is presented as a panel). Installing it
/// again changes nothing.
template <typename Window>
void presentAsWindow() {
    QAccessible::installFactory(&accessibleAsWindow<Window>);
}

}  // namespace glimpa
