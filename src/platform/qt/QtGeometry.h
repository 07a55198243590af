#pragma once

#include <QRect>
#include <cmath>

#include "platform/Twips.h"

namespace glimpa {

inline int twipsToPixels(Twips twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsToRect(Twips left, Twips top, Twips width, Twips height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace glimpa
