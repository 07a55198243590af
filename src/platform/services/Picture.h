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
    /// Whether the picture is held smaller than its natural size and can no
    /// longer grow: the file it grows from changed, went or proved damaged
    /// since it was read.
    virtual bool outgrownByItsFile() const { return false; }
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace glimpa
