#include "platform/qt/QtPicture.h"

#include <cmath>

#include "platform/qt/QtArtwork.h"
#include "platform/qt/QtGeometry.h"
#include "platform/qt/decoding/Decode.h"

namespace glimpa {

QtPicture::QtPicture(QImage image)
    : m_natural(static_cast<int>(std::lround(image.width() / image.devicePixelRatio())),
                static_cast<int>(std::lround(image.height() / image.devicePixelRatio()))),
      m_decoded(std::move(image)) {
    m_decoded.setDevicePixelRatio(1);
}

std::shared_ptr<QtPicture> QtPicture::artwork(const QString& name) {
    auto picture = std::make_shared<QtPicture>(QImage());
    picture->m_natural = QtArtwork::naturalSize(name);
    picture->m_artwork = name;
    picture->m_artworkAhead =
        QtArtwork::drawAhead(name, QtArtwork::pixelSize(name, screenDensity()));
    return picture;
}

QtPicture::QtPicture(QSize natural, QImage decoded, std::string path, PictureFile::Stamp stamp)
    : m_natural(natural), m_path(std::move(path)), m_stamp(stamp), m_decoded(std::move(decoded)) {}

void QtPicture::decodeAgain(QSize cover) const {
    if (m_path.empty()) {
        return;
    }
    std::string error;
    const auto file = readPictureFile(m_path, error);
    if (!file || file->stamp != m_stamp) {
        return;  // the file changed or went: keep what is at hand
    }
    DecodedImage again = decodePicture(file->bytes, cover);
    if (again && again.natural == m_natural) {
        m_decoded = std::move(again.image);
        m_scaled = QImage();
    }
}

const QImage& QtPicture::imageAt(QSize pixels) const {
    if (!m_artwork.isEmpty()) {
        if (m_artworkAhead.valid()) {
            m_scaled = m_artworkAhead.get();
        }
        if (m_scaled.size() != pixels) {
            m_scaled = QtArtwork::draw(m_artwork, pixels);
        }
        return m_scaled;
    }
    if (m_decoded.size() == pixels) {
        return m_decoded;
    }
    if (m_scaled.size() == pixels && !m_scaled.isNull()) {
        return m_scaled;
    }
    if ((m_decoded.width() < pixels.width() || m_decoded.height() < pixels.height()) &&
        m_decoded.width() < m_natural.width()) {
        decodeAgain(pixels.boundedTo(m_natural));
    }
    m_scaled = pixels.isEmpty() || m_decoded.isNull()
                   ? QImage()
                   : m_decoded.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled;
}

const QImage& QtPicture::fullImage() const {
    if (!m_artwork.isEmpty()) {
        return imageAt(m_natural);
    }
    if (m_decoded.width() < m_natural.width() || m_decoded.height() < m_natural.height()) {
        decodeAgain(QSize());
    }
    return m_decoded;
}

}  // namespace glimpa
