#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <future>

#include "decoding/PaintablePicture.h"

namespace glimpa {

/// The program's named artwork as a picture, drawn at the size shown so that
/// it is sharp on any screen. Its nominal size for the screen's density is
/// drawn ahead on a thread of its own; its natural size is in logical pixels.
class ArtworkPicture : public PaintablePicture {
public:
    explicit ArtworkPicture(const QString& name);

    int widthPx() const override { return m_natural.width(); }
    int heightPx() const override { return m_natural.height(); }
    const QImage& imageFor(QSize logical, qreal density, bool stretch) const override;

private:
    QString m_name;
    QSize m_natural;
    mutable std::future<QImage> m_drawnAhead;
    mutable QImage m_drawn;
};

}  // namespace glimpa
