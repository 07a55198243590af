#pragma once

#include "platform/ImageDecoder.h"

namespace glimpa {

/// Decodes BMP, JPEG and GIF files with QImageReader, recognising the format
/// by content and turning the picture upright by its orientation metadata.
class QtImageDecoder : public ImageDecoder {
public:
    QtImageDecoder();
    DecodeResult decode(const std::string& path) override;
};

}  // namespace glimpa
