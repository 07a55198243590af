#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <future>
#include <map>

namespace glimpa {

/// The program's own artwork, drawn as vector shapes so that it stays crisp at
/// any screen density: the seven toolbar pictures, the four paging arrows and
/// the 226 × 226 logo.
class QtArtwork {
public:
    using Images = std::map<QString, QImage>;

    /// Starts drawing every icon for the screen's density on a thread of its
    /// own, so that they are ready by the time the first window is painted.
    QtArtwork();

    /// A 32 × 32 icon (arrows 16 × 16) drawn once for the screen's density
    /// and kept. Its pixels are asked for only when it is first painted.
    QIcon icon(const QString& name);
    /// The named artwork drawn to fill this many pixels.
    static QImage draw(const QString& name, QSize pixels);
    /// The same, drawn on a thread of its own.
    static std::future<QImage> drawAhead(const QString& name, QSize pixels);
    /// The artwork's nominal size in logical pixels.
    static QSize naturalSize(const QString& name);
    /// The artwork's nominal size in device pixels at this density.
    static QSize pixelSize(const QString& name, qreal density);

private:
    qreal m_density;
    std::shared_future<Images> m_icons;
    std::map<QString, QIcon> m_iconsMade;
};

}  // namespace glimpa
