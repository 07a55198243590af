#include "platform/qt/widgets/PictureWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "decoding/PaintablePicture.h"

namespace glimpa {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {}

void PictureWidget::setPicture(Picture picture) {
    m_picture = std::move(picture);
    update();
}

void PictureWidget::setStretch(bool stretch) {
    if (m_stretch != stretch) {
        m_stretch = stretch;
        update();
    }
}

const QImage& PictureWidget::displayImage() const {
    static const QImage none;
    const auto* picture = dynamic_cast<const PaintablePicture*>(m_picture.get());
    if (picture == nullptr || size().isEmpty()) {
        return none;
    }
    return picture->imageFor(size(), devicePixelRatioF(), m_stretch);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    const QImage& image = displayImage();
    if (image.isNull()) {
        return;
    }
    // Draw only the exposed part of a possibly huge picture.
    QPainter painter(this);
    const QRectF exposed = event->rect();
    const qreal scaleX = image.width() / static_cast<qreal>(width());
    const qreal scaleY = image.height() / static_cast<qreal>(height());
    const QRectF source(exposed.x() * scaleX, exposed.y() * scaleY, exposed.width() * scaleX,
                        exposed.height() * scaleY);
    painter.drawImage(exposed, image, source);
}

}  // namespace glimpa
