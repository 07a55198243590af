#pragma once

#include <string>

#include "platform/Picture.h"

namespace glimpa {

/// What a decode gives back: the picture, or nothing when the file cannot be
/// shown as a picture.
struct DecodeResult {
    Picture picture;
    std::string error;
    explicit operator bool() const { return picture != nullptr; }
};

/// Reads BMP, JPEG and GIF files, recognised by their content. The natural
/// size is the upright size (orientation metadata applied).
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    virtual DecodeResult decode(const std::string& path) = 0;
};

}  // namespace glimpa
