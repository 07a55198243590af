#include "decoding/FilePicture.h"

#include "decoding/Decode.h"

namespace glimpa {

FilePicture::FilePicture(QSize natural, QImage decoded, Source source, bool largest, double density)
    : m_natural(natural),
      m_source(std::move(source)),
      m_density(density),
      m_decoded(std::move(decoded)),
      m_exhausted(largest) {}

const QImage& FilePicture::imageFor(QSize logical, qreal density, bool stretch) const {
    if (!stretch) {
        return fullImage();
    }
    return imageAt((QSizeF(logical) * density).toSize());
}

bool FilePicture::moreToHave() const {
    const bool partial =
        m_decoded.width() < m_natural.width() || m_decoded.height() < m_natural.height();
    if (!partial || m_source.path.empty()) {
        return false;
    }
    const std::lock_guard lock(m_offerMutex);
    return !m_exhausted;
}

bool FilePicture::outgrownByItsFile() const {
    const QImage& held = bestAtHand();
    const bool reduced = held.width() < m_natural.width() || held.height() < m_natural.height();
    return reduced && !m_source.path.empty() &&
           (growthFailed() || stampOf(m_source.path) != m_source.stamp);
}

bool FilePicture::growthFailed() const {
    const std::lock_guard lock(m_offerMutex);
    return m_growthFailed;
}

void FilePicture::askFor(QSize cover) const {
    if (m_asked == cover) {
        return;
    }
    m_asked = cover;
    if (m_moreWanted) {
        m_moreWanted(shared_from_this(), cover);
    } else {
        refine(cover);
        takeOffered();
    }
}

void FilePicture::refine(QSize cover) const {
    std::string error;
    const auto file = openPictureFile(m_source.path, error);
    DecodedImage again = file && file->stamp == m_source.stamp
                             ? decodePictureAt(file->bytes, cover, {}, file->readOn)
                             : DecodedImage{};
    if (again && !file->unchanged()) {
        again = DecodedImage{};
    }
    const std::lock_guard lock(m_offerMutex);
    if (again && again.natural == m_natural && again.image.width() > m_offered.width()) {
        m_offered = std::move(again.image);
    }
    m_growthFailed = m_growthFailed || !again || again.natural != m_natural;
    // Nothing more is to be had once the file changed or went, or when
    // this is as large as the picture is decoded.
    if (!again || again.largest) {
        m_exhausted = true;
    }
}

void FilePicture::takeOffered() const {
    const std::lock_guard lock(m_offerMutex);
    if (m_offered.width() > m_decoded.width()) {
        m_decoded = std::move(m_offered);
        m_scaled = QImage();
    }
    m_offered = QImage();
}

const QImage& FilePicture::imageAt(QSize pixels) const {
    takeOffered();
    if (m_decoded.size() == pixels) {
        return m_decoded;
    }
    if (m_scaled.size() == pixels && !m_scaled.isNull()) {
        return m_scaled;
    }
    const auto covers = [&] {
        return m_decoded.width() >= pixels.width() && m_decoded.height() >= pixels.height();
    };
    if (!covers() && moreToHave()) {
        askFor(pixels.boundedTo(m_natural));
        if (m_decoded.size() == pixels) {
            return m_decoded;
        }
        if (!covers() && moreToHave()) {
            return bestAtHand();  // drawn scaled until more arrives
        }
    }
    if (m_decoded.isNull()) {
        return m_scaled;
    }
    const bool shrinks =
        pixels.width() <= m_decoded.width() && pixels.height() <= m_decoded.height();
    if (pixels.isEmpty()) {
        m_scaled = QImage();
    } else if (shrinks && m_decoded.format() == kOpaqueFormat) {
        m_scaled = shrinkOpaque(m_decoded, pixels);
    } else {
        m_scaled = m_decoded.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // What was decoded can be had again from the source: only what is drawn
    // is kept.
    if (!m_source.path.empty()) {
        m_decoded = QImage();
    }
    return m_scaled;
}

const QImage& FilePicture::bestAtHand() const {
    return m_decoded.isNull() ? m_scaled : m_decoded;
}

const QImage& FilePicture::fullImage() const {
    takeOffered();
    if (moreToHave()) {
        askFor(QSize());
    }
    return bestAtHand();
}

}  // namespace glimpa
