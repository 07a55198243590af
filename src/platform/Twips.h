#pragma once

namespace glimpa {

/// A length in twips (1/1440 inch), held in single precision.
using Twips = float;

/// One logical pixel is 15 twips (1440 twips an inch at 96 logical pixels an inch).
inline constexpr Twips kTwipsPerPixel = 15.0f;

inline constexpr Twips pixelsToTwips(double pixels) {
    return static_cast<Twips>(pixels * 15.0);
}

}  // namespace glimpa
