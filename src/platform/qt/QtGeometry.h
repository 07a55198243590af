#pragma once

#include <QGuiApplication>
#include <QRect>
#include <cmath>

#include "platform/Twips.h"

namespace glimpa {

/// Device pixels per logical pixel of the primary screen; 1 without a screen
/// (a program without a GUI application object, such as a test).
inline qreal screenDensity() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return application != nullptr ? application->devicePixelRatio() : 1.0;
}

inline int twipsToPixels(Twips twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsToRect(Twips left, Twips top, Twips width, Twips height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace glimpa
