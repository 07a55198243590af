#pragma once

#include <QImage>
#include <QWidget>

#include "platform/services/Picture.h"

namespace glimpa {

/// Draws a picture at its natural size, or smoothly scaled to the widget when
/// stretched. The picture keeps the scaled copy, so paints do not scale again.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);

    void setPicture(Picture picture);
    void setStretch(bool stretch);
    /// The image a paint at the current size draws.
    const QImage& displayImage() const;
    /// From any thread: every picture widget paints again soon, on the
    /// user-interface thread (a picture has more to show).
    static void updateAllSoon();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture m_picture;
    bool m_stretch = false;
};

}  // namespace glimpa
