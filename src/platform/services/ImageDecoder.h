#pragma once

#include <string>
#include <vector>

#include "platform/services/Picture.h"

namespace glimpa {

/// What a decode gives back: the picture, or nothing when the file cannot be
/// shown as a picture.
struct DecodeResult {
    Picture picture;
    std::string error;
    explicit operator bool() const { return picture != nullptr; }
};

/// How the picture will be shown: fitted into a frame of this many logical
/// pixels, or (a zero frame) at its natural size. A decoder may use it to
/// decode no more pixels than the display needs; the natural size it reports
/// is always the full one.
struct DisplayHint {
    int fitWidthPx = 0;
    int fitHeightPx = 0;
    bool fits() const { return fitWidthPx > 0 && fitHeightPx > 0; }
    bool operator==(const DisplayHint&) const = default;
};

/// Reads BMP, JPEG and GIF files, recognised by their content. The natural
/// size is the upright size (orientation metadata applied).
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    virtual DecodeResult decode(const std::string& path, DisplayHint hint = {}) = 0;
    /// Whether the file is a BMP, JPEG or GIF by its first bytes, whatever its
    /// name; the rest is read only when it is decoded.
    virtual bool isPicture(const std::string& path) = 0;
    /// The pictures likely to be asked for next, most likely first; a decoder
    /// may prepare them in the background. Results are only handed out by decode.
    /// More than kLikelyNext are not looked at.
    static constexpr int kLikelyNext = 2;
    virtual void prefetch(const std::vector<std::string>& paths, DisplayHint hint) {
        (void)paths;
        (void)hint;
    }
};

}  // namespace glimpa
