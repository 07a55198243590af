#include "decoding/FilePicture.h"

#include "decoding/Decode.h"

namespace glimpa {

FilePicture::FilePicture(QSize natural, QImage decoded, Source source)
    : m_natural(natural), m_source(std::move(source)), m_decoded(std::move(decoded)) {}

const QImage& FilePicture::imageFor(QSize logical, qreal density, bool stretch) const {
    if (!stretch && logical == m_natural) {
        return fullImage();
    }
    return imageAt((QSizeF(logical) * density).toSize());
}

void FilePicture::decodeAgain(QSize cover) const {
    QByteArray bytes = m_source.bytes;
    if (bytes.isEmpty() && !m_source.path.empty()) {
        std::string error;
        const auto file = readPictureFile(m_source.path, error);
        if (file && file->stamp == m_source.stamp) {
            bytes = file->bytes;
        }
    }
    if (bytes.isEmpty()) {
        m_source = {};  // the file changed or went: keep what is at hand
        return;
    }
    DecodedImage again = decodePicture(bytes, cover);
    const bool grew =
        again && again.natural == m_natural && again.image.width() > m_decoded.width();
    if (grew) {
        m_decoded = std::move(again.image);
        m_scaled = QImage();
    }
    // Nothing larger to be had (the whole picture, or as much of it as the
    // decode budget allows): the source is not needed again.
    if (!grew || cover.isEmpty()) {
        m_source = {};
    }
}

const QImage& FilePicture::imageAt(QSize pixels) const {
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

const QImage& FilePicture::fullImage() const {
    if (m_decoded.width() < m_natural.width() || m_decoded.height() < m_natural.height()) {
        decodeAgain(QSize());
    }
    return m_decoded;
}

}  // namespace glimpa
