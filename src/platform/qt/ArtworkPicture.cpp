#include "platform/qt/ArtworkPicture.h"

#include "platform/qt/QtArtwork.h"

namespace glimpa {

ArtworkPicture::ArtworkPicture(const QString& name)
    : m_name(name), m_natural(QtArtwork::naturalSize(name)) {}

const QImage& ArtworkPicture::imageFor(QSize logical, qreal density, bool /*stretch*/) const {
    const QSize pixels = (QSizeF(logical) * density).toSize();
    if (m_drawn.size() != pixels) {
        m_drawn = QtArtwork::draw(m_name, pixels);
    }
    return m_drawn;
}

}  // namespace glimpa
