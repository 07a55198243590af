#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <string>

#include "decoding/PaintablePicture.h"
#include "decoding/PictureFile.h"

namespace glimpa {

/// A picture read from a file, held as a QImage that may be smaller than the
/// picture's natural size (decoded for a fitted display). Asked for more
/// pixels than it holds, it decodes again: a JPEG from the bytes it was read
/// from (small beside its pixels), so that what it shows is the file as it
/// was read whatever has happened to the file since; an uncompressed or
/// lightly compressed picture from its file, while that file is unchanged.
class FilePicture : public PaintablePicture {
public:
    /// Where more of a picture comes from: the file's bytes, else the file.
    struct Source {
        QByteArray bytes;
        std::string path;
        PictureFile::Stamp stamp;
    };
    /// A decoded file: its natural size, the image decoded so far and where
    /// more of it comes from (nothing when the image is whole).
    FilePicture(QSize natural, QImage decoded, Source source = {});

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
        return m_decoded.sizeInBytes() + m_scaled.sizeInBytes() + m_source.bytes.size();
    }
    const PictureFile::Stamp& stamp() const { return m_source.stamp; }

private:
    void decodeAgain(QSize cover) const;

    QSize m_natural;
    mutable Source m_source;
    mutable QImage m_decoded;
    mutable QImage m_scaled;
};

}  // namespace glimpa
