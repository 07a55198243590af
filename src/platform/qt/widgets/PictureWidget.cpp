#include "platform/qt/widgets/PictureWidget.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include "decoding/PaintablePicture.h"
#include "platform/qt/QtModality.h"

namespace glimpa {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {}

void PictureWidget::setPicture(Picture picture) {
    m_picture = std::move(picture);
    m_toldOutgrown = false;
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

void PictureWidget::tellIfOutgrown() {
    const auto* picture = dynamic_cast<const PaintablePicture*>(m_picture.get());
    if (m_toldOutgrown || !m_outgrown || picture == nullptr || !picture->growthFailed()) {
        return;
    }
    m_toldOutgrown = true;
    // Told after the paint, and once no box waits for an answer: the next
    // paint tells again.
    QTimer::singleShot(0, this, [this] {
        if (blockedByModalBox(this)) {
            m_toldOutgrown = false;
        } else {
            m_outgrown();
        }
    });
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
    tellIfOutgrown();
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
