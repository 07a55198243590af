#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "decoding/PaintablePicture.h"

namespace glimpa {

/// The program's named artwork as a picture, drawn at the size shown so that
/// it is sharp on any screen; its natural size is in logical pixels.
class ArtworkPicture : public PaintablePicture {
public:
    explicit ArtworkPicture(const QString& name);

    int widthPx() const override { return m_natural.width(); }
    int heightPx() const override { return m_natural.height(); }
    const QImage& imageFor(QSize logical, qreal density, bool stretch) const override;

private:
    QString m_name;
    QSize m_natural;
    mutable QImage m_drawn;
};

}  // namespace glimpa
