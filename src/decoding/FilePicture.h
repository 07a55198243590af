#pragma once

#include <QImage>
#include <QSize>
#include <string>

#include "decoding/PaintablePicture.h"
#include "decoding/PictureFile.h"

namespace glimpa {

/// A picture read from a file, held as a QImage that may be smaller than the
/// picture's natural size (decoded for a fitted display). Asked for more
/// pixels than it holds, it decodes its file again, while the file is still
/// the one it was read from.
class FilePicture : public PaintablePicture {
public:
    /// A decoded file: its natural size and the image decoded so far. A
    /// picture without a path holds its whole image.
    FilePicture(QSize natural, QImage decoded, std::string path = {},
                PictureFile::Stamp stamp = {});

    int widthPx() const override { return m_natural.width(); }
    int heightPx() const override { return m_natural.height(); }
    /// At its natural size a picture is drawn pixel for pixel; otherwise
    /// smoothly scaled to the widget's device pixels.
    const QImage& imageFor(QSize logical, qreal density, bool stretch) const override;

    /// The picture smoothly scaled to exactly this many device pixels; the
    /// scaled copy is kept for the next paint.
    const QImage& imageAt(QSize pixels) const;
    /// The picture at its natural size, one image pixel per logical pixel.
    const QImage& fullImage() const;
    /// What the picture holds now, in bytes, for cache budgets.
    qint64 heldBytes() const { return m_decoded.sizeInBytes() + m_scaled.sizeInBytes(); }
    const PictureFile::Stamp& stamp() const { return m_stamp; }

private:
    void decodeAgain(QSize cover) const;

    QSize m_natural;
    std::string m_path;
    PictureFile::Stamp m_stamp;
    mutable QImage m_decoded;
    mutable QImage m_scaled;
};

}  // namespace glimpa
