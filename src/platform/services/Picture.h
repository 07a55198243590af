#pragma once

#include <memory>

namespace glimpa {

/// A decoded picture, opaque to the logic: only its natural size in image
/// pixels is visible here. The platform binding knows how to draw it.
class PictureData {
public:
    virtual ~PictureData() = default;
    virtual int widthPx() const = 0;
    virtual int heightPx() const = 0;
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace glimpa
