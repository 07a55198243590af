#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "platform/qt/ArtworkPicture.h"
#include "platform/qt/QtArtwork.h"

namespace glimpa {
namespace {

bool samePixels(QImage a, QImage b) {
    a.setDevicePixelRatio(1);
    b.setDevicePixelRatio(1);
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// An icon made directly of the drawing, as the icons were before they were
// drawn ahead.
QIcon plainIcon(const QString& name, qreal density) {
    QImage image = QtArtwork::draw(name, QtArtwork::pixelSize(name, density));
    image.setDevicePixelRatio(density);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

TEST(Artwork, IconsDrawnAheadLookLikeTheirDrawingInEveryState) {
    QtArtwork artwork;
    const qreal density = qGuiApp->devicePixelRatio();
    for (const char* name : {"select", "clear", "trash", "trash-all", "show", "start", "stop",
                             "previous", "first", "next", "last"}) {
        SCOPED_TRACE(name);
        const QSize natural = QtArtwork::naturalSize(name);
        const QIcon icon = artwork.icon(name);
        const QIcon plain = plainIcon(name, density);
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.actualSize(natural), natural);
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
            const QImage ours = icon.pixmap(natural, density, mode).toImage();
            EXPECT_EQ(ours.size(), QtArtwork::pixelSize(name, density));
            EXPECT_TRUE(samePixels(ours, plain.pixmap(natural, density, mode).toImage()));
        }
        EXPECT_FALSE(samePixels(icon.pixmap(natural, density, QIcon::Normal).toImage(),
                                icon.pixmap(natural, density, QIcon::Disabled).toImage()));
    }
}

TEST(Artwork, TheLogoDrawnAheadIsTheLogoAndOtherSizesAreDrawnAnew) {
    const ArtworkPicture logo("logo");
    const qreal density = qGuiApp->devicePixelRatio();
    const QSize natural = QtArtwork::pixelSize("logo", density);
    EXPECT_TRUE(samePixels(logo.imageFor(QtArtwork::naturalSize("logo"), density, false),
                           QtArtwork::draw("logo", natural)));

    const QSize half = natural / 2;
    EXPECT_TRUE(samePixels(logo.imageFor(half, 1, false), QtArtwork::draw("logo", half)));
    EXPECT_FALSE(samePixels(QtArtwork::draw("logo", half), QtArtwork::draw("clear", half)));
}

}  // namespace
}  // namespace glimpa
