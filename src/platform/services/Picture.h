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
    /// How many of its pixels make one logical pixel at its natural size: a
    /// photo is shown one pixel to one pixel of the screen it was decoded
    /// for (the screen's density); artwork is drawn at its design size (1).
    virtual double pixelsPerLogicalPixel() const { return 1.0; }
    /// Whether the picture is held smaller than its natural size and can no
    /// longer grow: the file it grows from changed, went or proved damaged
    /// since it was read.
    virtual bool outgrownByItsFile() const { return false; }
};

using Picture = std::shared_ptr<const PictureData>;

}  // namespace glimpa
