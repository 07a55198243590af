#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <map>

namespace glimpa {

/// The program's own artwork, drawn as vector shapes so that it stays crisp at
/// any screen density: the seven toolbar pictures, the four paging arrows and
/// the 226 × 226 logo.
class QtArtwork {
public:
    QtArtwork();

    /// A 32 × 32 icon (arrows 16 × 16) drawn once for the screen's density
    /// and kept.
    QIcon icon(const QString& name);
    /// The named artwork drawn to fill this many pixels.
    static QImage draw(const QString& name, QSize pixels);
    /// The program's logo at the sizes window managers show beside a window's
    /// title and in their window lists.
    static QIcon programIcon();
    /// The artwork's nominal size in logical pixels.
    static QSize naturalSize(const QString& name);
    /// The artwork's nominal size in device pixels at this density.
    static QSize pixelSize(const QString& name, qreal density);

private:
    qreal m_density;
    std::map<QString, QIcon> m_icons;
};

}  // namespace glimpa
