#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <future>
#include <memory>
#include <string>

#include "platform/Picture.h"
#include "platform/qt/decoding/PictureFile.h"

namespace glimpa {

/// A picture held as a QImage that may be smaller than the picture's natural
/// size (decoded for a fitted display). Asked for more pixels than it holds,
/// it decodes its file again. Its natural size is in logical pixels, so
/// artwork drawn for a dense screen keeps its nominal size.
class QtPicture : public PictureData {
public:
    /// A complete image.
    explicit QtPicture(QImage image);
    /// The program's named artwork, drawn at the size shown so that it is
    /// sharp on any screen; its nominal size for the screen's density is
    /// drawn ahead on a thread of its own.
    static std::shared_ptr<QtPicture> artwork(const QString& name);
    /// A decoded file: its natural size and the image decoded so far.
    QtPicture(QSize natural, QImage decoded, std::string path, PictureFile::Stamp stamp);

    int widthPx() const override { return m_natural.width(); }
    int heightPx() const override { return m_natural.height(); }

    /// The picture smoothly scaled to exactly this many device pixels; the
    /// scaled copy is kept for the next paint.
    const QImage& imageAt(QSize pixels) const;
    /// The picture at its natural size, one image pixel per logical pixel.
    const QImage& fullImage() const;
    /// What the picture holds now, in bytes, for cache budgets.
    qint64 heldBytes() const { return m_decoded.sizeInBytes() + m_scaled.sizeInBytes(); }
    const PictureFile::Stamp& stamp() const { return m_stamp; }
    bool isArtwork() const { return !m_artwork.isEmpty(); }

private:
    void decodeAgain(QSize cover) const;

    QSize m_natural;
    QString m_artwork;
    mutable std::future<QImage> m_artworkAhead;
    std::string m_path;
    PictureFile::Stamp m_stamp;
    mutable QImage m_decoded;
    mutable QImage m_scaled;
};

}  // namespace glimpa
