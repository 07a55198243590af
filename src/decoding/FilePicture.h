#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "decoding/PaintablePicture.h"
#include "decoding/PictureFile.h"

namespace glimpa {

/// A picture read from a file, held as a QImage that may be smaller than the
/// picture's natural size (decoded for a fitted display) and as the file's
/// bytes. Asked for more pixels than it holds, it decodes those bytes again:
/// what it shows is always the file as it was read, whatever has happened to
/// the file since.
class FilePicture : public PaintablePicture {
public:
    /// A decoded file: its natural size, the image decoded so far and the
    /// file's bytes (none when the image is whole).
    FilePicture(QSize natural, QImage decoded, QByteArray bytes = {},
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
    qint64 heldBytes() const {
        return m_decoded.sizeInBytes() + m_scaled.sizeInBytes() + m_bytes.size();
    }
    const PictureFile::Stamp& stamp() const { return m_stamp; }

private:
    void decodeAgain(QSize cover) const;

    QSize m_natural;
    mutable QByteArray m_bytes;
    PictureFile::Stamp m_stamp;
    mutable QImage m_decoded;
    mutable QImage m_scaled;
};

}  // namespace glimpa
