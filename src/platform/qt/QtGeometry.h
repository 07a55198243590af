#pragma once

#include <QRect>
#include <algorithm>
#include <cmath>

#include "platform/Twips.h"

namespace glimpa {

/// The longest length a widget can have, in pixels (Qt's QWIDGETSIZE_MAX).
inline constexpr int kLongestPixels = (1 << 24) - 1;

/// Whole logical pixels; a length beyond any widget's is taken as the
/// longest, not wrapped round.
inline int twipsToPixels(Twips twips) {
    const double pixels = static_cast<double>(twips) / kTwipsPerPixel;
    return static_cast<int>(
        std::lround(std::clamp<double>(pixels, -kLongestPixels, kLongestPixels)));
}

inline QRect twipsToRect(Twips left, Twips top, Twips width, Twips height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace glimpa
