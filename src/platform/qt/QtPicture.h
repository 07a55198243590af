#pragma once

#include <QImage>
#include <cmath>

#include "platform/Picture.h"

namespace glimpa {

/// A picture held as a QImage. Its natural size is in logical pixels, so
/// artwork rendered for a high-density screen keeps its nominal size.
class QtPicture : public PictureData {
public:
    explicit QtPicture(QImage image) : m_image(std::move(image)) {}
    int widthPx() const override {
        return static_cast<int>(std::lround(m_image.width() / m_image.devicePixelRatio()));
    }
    int heightPx() const override {
        return static_cast<int>(std::lround(m_image.height() / m_image.devicePixelRatio()));
    }
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

}  // namespace glimpa
