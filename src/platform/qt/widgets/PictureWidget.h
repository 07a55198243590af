#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

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
    /// Called once a picture could not be had as large as it is shown.
    void setOnOutgrown(std::function<void()> outgrown) { m_outgrown = std::move(outgrown); }
    /// The image a paint at the current size draws.
    const QImage& displayImage() const;
    /// From any thread: every picture widget paints again soon, on the
    /// user-interface thread (a picture has more to show).
    static void updateAllSoon();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tellIfOutgrown();

    Picture m_picture;
    bool m_stretch = false;
    std::function<void()> m_outgrown;
    bool m_toldOutgrown = false;
};

}  // namespace glimpa
