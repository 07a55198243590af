#pragma once

#include <QGuiApplication>

namespace glimpa {

/// Device pixels per logical pixel of the primary screen; 1 without a screen
/// (a program without a GUI application object, such as a test). Asked on
/// the user-interface thread only.
inline qreal screenDensity() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return application != nullptr ? application->devicePixelRatio() : 1.0;
}

}  // namespace glimpa
