#include "platform/qt/ArtworkPicture.h"

#include "decoding/ScreenDensity.h"
#include "platform/qt/QtArtwork.h"

namespace glimpa {

ArtworkPicture::ArtworkPicture(const QString& name)
    : m_name(name),
      m_natural(QtArtwork::naturalSize(name)),
      m_drawnAhead(QtArtwork::drawAhead(name, QtArtwork::pixelSize(name, screenDensity()))) {}

const QImage& ArtworkPicture::imageFor(QSize logical, qreal density, bool /*stretch*/) const {
    const QSize pixels = (QSizeF(logical) * density).toSize();
    if (m_drawnAhead.valid()) {
        m_drawn = m_drawnAhead.get();
    }
    if (m_drawn.size() != pixels) {
        m_drawn = QtArtwork::draw(m_name, pixels);
    }
    return m_drawn;
}

}  // namespace glimpa
