#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace glimpa {

/// The program's own artwork, drawn as vector shapes so that it stays crisp at
/// any screen density: the seven toolbar pictures, the four paging arrows and
/// the 226 × 226 logo.
class QtArtwork {
public:
    /// A 32 × 32 icon (arrows 16 × 16) with 1× and 2× renderings.
    static QIcon icon(const QString& name);
    /// The named artwork as an image at twice the density, sized in logical
    /// pixels by its device pixel ratio.
    static QImage picture(const QString& name);
};

}  // namespace glimpa
