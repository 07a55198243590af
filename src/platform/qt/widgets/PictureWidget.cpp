#include "platform/qt/widgets/PictureWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/QtPicture.h"

namespace glimpa {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureWidget::setPicture(Picture picture) {
    m_picture = std::move(picture);
    m_scaled = QImage();
    m_scaledValid = false;
    update();
}

void PictureWidget::setStretch(bool stretch) {
    if (m_stretch != stretch) {
        m_stretch = stretch;
        m_scaledValid = false;
        update();
    }
}

void PictureWidget::resizeEvent(QResizeEvent* /*event*/) {
    if (m_stretch) {
        m_scaledValid = false;
    }
}

const QImage& PictureWidget::displayImage() {
    static const QImage none;
    const auto* source = dynamic_cast<const QtPicture*>(m_picture.get());
    if (source == nullptr || source->image().isNull()) {
        return none;
    }
    if (!m_stretch) {
        return source->image();
    }
    if (!m_scaledValid) {
        const qreal ratio = devicePixelRatioF();
        const QSize target = (QSizeF(size()) * ratio).toSize();
        m_scaled = target.isEmpty() ? QImage()
                                    : source->image().scaled(target, Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
        m_scaledValid = true;
    }
    return m_scaled;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    const QImage& image = displayImage();
    if (image.isNull()) {
        return;
    }
    QPainter painter(this);
    if (m_stretch) {
        painter.drawImage(QPointF(0, 0), image);
        return;
    }
    // Natural size: draw only the exposed part of a possibly huge picture.
    const QRect exposed = event->rect();
    const qreal ratio = image.devicePixelRatio();
    const QRectF source(exposed.x() * ratio, exposed.y() * ratio, exposed.width() * ratio,
                        exposed.height() * ratio);
    painter.drawImage(QRectF(exposed), image, source);
}

}  // namespace glimpa
