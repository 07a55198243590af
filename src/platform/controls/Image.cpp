#include "platform/controls/Image.h"

namespace glimpa {

void Image::setPicture(Picture picture) {
    m_picture = std::move(picture);
    changed(Aspect::Picture);
    if (!m_stretch) {
        takeNaturalSize();
    }
}

void Image::setStretch(bool on) {
    if (m_stretch != on) {
        m_stretch = on;
        changed(Aspect::Style);
    }
    if (!on) {
        takeNaturalSize();
    }
}

Twips Image::naturalWidth() const {
    return m_picture ? pixelsToTwips(m_picture->widthPx() / m_picture->pixelsPerLogicalPixel())
                     : Twips{0};
}

Twips Image::naturalHeight() const {
    return m_picture ? pixelsToTwips(m_picture->heightPx() / m_picture->pixelsPerLogicalPixel())
                     : Twips{0};
}

void Image::takeNaturalSize() {
    if (m_picture) {
        setWidth(naturalWidth());
        setHeight(naturalHeight());
    }
}

}  // namespace glimpa
