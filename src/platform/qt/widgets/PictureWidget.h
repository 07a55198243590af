#pragma once

#include <QImage>
#include <QWidget>

#include "platform/Picture.h"

namespace glimpa {

/// Draws a picture at its natural size, or smoothly scaled to the widget when
/// stretched. The scaled copy is made once per size, not on every paint.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);

    void setPicture(Picture picture);
    void setStretch(bool stretch);
    /// The image a paint at the current size draws (for tests and benchmarks).
    const QImage& displayImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Picture m_picture;
    bool m_stretch = false;
    QImage m_scaled;
    bool m_scaledValid = false;
};

}  // namespace glimpa
