#include "platform/qt/widgets/PictureWidget.h"

#include <QApplication>
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

void PictureWidget::updateAllSoon() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        application,
        [] {
            for (QWidget* widget : QApplication::allWidgets()) {
                if (auto* picture = qobject_cast<PictureWidget*>(widget)) {
                    picture->update();
                }
            }
        },
        Qt::QueuedConnection);
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
    // A picture drawn from fewer pixels than it covers (while more of it is
    // on its way) is drawn smoothly; a picture ready to paint needs no scaling.
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          image.width() < width() * devicePixelRatioF());
    const QRectF exposed = event->rect();
    const qreal scaleX = image.width() / static_cast<qreal>(width());
    const qreal scaleY = image.height() / static_cast<qreal>(height());
    const QRectF source(exposed.x() * scaleX, exposed.y() * scaleY, exposed.width() * scaleX,
                        exposed.height() * scaleY);
    painter.drawImage(exposed, image, source);
}

}  // namespace glimpa
