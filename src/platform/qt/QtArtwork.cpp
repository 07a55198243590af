#include "platform/qt/QtArtwork.h"

#include "decoding/ScreenDensity.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace glimpa {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Every drawing works on a 32 × 32 canvas.
void folderSearch(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(240, 200, 80));
    p.drawRoundedRect(QRectF(2, 8, 22, 16), 2, 2);
    p.drawRect(QRectF(2, 5, 9, 4));
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.setBrush(QColor(200, 230, 255, 200));
    p.drawEllipse(QPointF(20, 18), 6.5, 6.5);
    p.drawLine(QPointF(24.5, 22.5), QPointF(30, 28));
}

void redCross(QPainter& p) {
    p.setPen(QPen(QColor(120, 0, 0), 1.2));
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

void dustBin(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(170, 175, 180));
    QPainterPath bin;
    bin.moveTo(8, 9);
    bin.lineTo(24, 9);
    bin.lineTo(22, 29);
    bin.lineTo(10, 29);
    bin.closeSubpath();
    p.drawPath(bin);
    p.drawRect(QRectF(6, 6, 20, 3));
    p.drawRect(QRectF(13, 3, 6, 3));
    for (qreal x : {12.5, 16.0, 19.5}) {
        p.drawLine(QPointF(x, 12), QPointF(x, 26));
    }
}

void lavatory(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 90), 1.2));
    p.setBrush(QColor(245, 245, 250));
    p.drawRoundedRect(QRectF(6, 2, 10, 14), 2, 2);
    QPainterPath bowl;
    bowl.moveTo(4, 16);
    bowl.lineTo(28, 16);
    bowl.cubicTo(28, 24, 22, 26, 19, 26);
    bowl.lineTo(20, 30);
    bowl.lineTo(10, 30);
    bowl.lineTo(11, 26);
    bowl.cubicTo(7, 25, 4, 22, 4, 16);
    p.drawPath(bowl);
    p.setBrush(QColor(120, 170, 230));
    p.drawEllipse(QRectF(9, 17, 14, 4));
}

void pageWithGlasses(QPainter& p) {
    p.setPen(QPen(QColor(80, 80, 80), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 2, 18, 24));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = 6; y < 20; y += 3) {
        p.drawLine(QPointF(9, y), QPointF(21, y));
    }
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(QColor(180, 220, 255, 180));
    p.drawEllipse(QPointF(10, 24), 5, 4);
    p.drawEllipse(QPointF(22, 24), 5, 4);
    p.drawLine(QPointF(15, 23), QPointF(17, 23));
}

void trafficLight(QPainter& p, bool green) {
    p.setPen(QPen(QColor(20, 20, 20), 1.2));
    p.setBrush(QColor(50, 50, 55));
    p.drawRoundedRect(QRectF(9, 1, 14, 30), 4, 4);
    const QColor red = green ? QColor(90, 30, 30) : QColor(240, 40, 40);
    const QColor amber(90, 80, 30);
    const QColor go = green ? QColor(40, 220, 70) : QColor(30, 80, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawEllipse(QPointF(16, 7), 4, 4);
    p.setBrush(amber);
    p.drawEllipse(QPointF(16, 16), 4, 4);
    p.setBrush(go);
    p.drawEllipse(QPointF(16, 25), 4, 4);
}

void arrow(QPainter& p, bool left, bool toEnd) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 70, 150));
    QPainterPath head;
    const qreal tip = left ? 6 : 26;
    const qreal back = left ? 24 : 8;
    head.moveTo(tip, 16);
    head.lineTo(back, 5);
    head.lineTo(back, 27);
    head.closeSubpath();
    p.drawPath(head);
    if (toEnd) {
        p.drawRect(QRectF(left ? 2 : 26, 5, 4, 22));
    }
}

void logo(QPainter& p) {
    // A framed landscape with a sun above a strip of frames.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 40, 70));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 3, 3);
    QLinearGradient sky(0, 3, 0, 20);
    sky.setColorAt(0, QColor(80, 150, 230));
    sky.setColorAt(1, QColor(190, 225, 255));
    p.setBrush(sky);
    p.drawRect(QRectF(3, 3, 26, 19));
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(22, 8), 3, 3);
    p.setBrush(QColor(40, 120, 60));
    QPainterPath hills;
    hills.moveTo(3, 22);
    hills.lineTo(3, 16);
    hills.cubicTo(8, 11, 12, 11, 16, 16);
    hills.cubicTo(20, 12, 25, 12, 29, 17);
    hills.lineTo(29, 22);
    hills.closeSubpath();
    p.drawPath(hills);
    // A filmstrip along the bottom: pictures one after another.
    p.setBrush(QColor(230, 230, 240));
    for (qreal x = 4; x < 28; x += 6) {
        p.drawRoundedRect(QRectF(x, 24.5, 4, 4), 0.8, 0.8);
    }
}

const std::map<QString, Drawing>& drawings() {
    static const std::map<QString, Drawing> all{
        {"select", folderSearch},
        {"clear", redCross},
        {"trash", dustBin},
        {"trash-all", lavatory},
        {"show", pageWithGlasses},
        {"start", [](QPainter& p) { trafficLight(p, true); }},
        {"stop", [](QPainter& p) { trafficLight(p, false); }},
        {"previous", [](QPainter& p) { arrow(p, true, false); }},
        {"first", [](QPainter& p) { arrow(p, true, true); }},
        {"next", [](QPainter& p) { arrow(p, false, false); }},
        {"last", [](QPainter& p) { arrow(p, false, true); }},
        {"logo", logo},
    };
    return all;
}

bool isArrow(const QString& name) {
    return name == "previous" || name == "first" || name == "next" || name == "last";
}

}  // namespace

QtArtwork::QtArtwork() : m_density(screenDensity()) {}

QIcon QtArtwork::icon(const QString& name) {
    QIcon& icon = m_icons[name];
    if (icon.isNull()) {
        QImage image = draw(name, pixelSize(name, m_density));
        image.setDevicePixelRatio(m_density);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage QtArtwork::draw(const QString& name, QSize pixels) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const auto found = drawings().find(name);
    if (found != drawings().end() && !pixels.isEmpty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(pixels.width() / 32.0, pixels.height() / 32.0);
        found->second(painter);
    }
    return image;
}

QIcon QtArtwork::programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(draw(QStringLiteral("logo"), {side, side})));
    }
    return icon;
}

QSize QtArtwork::naturalSize(const QString& name) {
    const int side = name == "logo" ? 226 : isArrow(name) ? 16 : 32;
    return {side, side};
}

QSize QtArtwork::pixelSize(const QString& name, qreal density) {
    return (QSizeF(naturalSize(name)) * density).toSize();
}

}  // namespace glimpa
