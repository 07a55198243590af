#pragma once

#include <QImage>
#include <QSize>

#include "platform/services/Picture.h"

namespace glimpa {

/// A picture that a widget can paint: it hands out the image to draw for a
/// widget of a given size. Its natural size is in logical pixels.
class PaintablePicture : public PictureData {
public:
    /// The image that fills a widget of `logical` size on a screen of this
    /// density, stretched or at the picture's natural size.
    virtual const QImage& imageFor(QSize logical, qreal density, bool stretch) const = 0;
    /// Whether more of the picture was asked for and could not be had.
    virtual bool growthFailed() const { return false; }
};

}  // namespace glimpa
