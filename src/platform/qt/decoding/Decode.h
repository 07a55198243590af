#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <string>

namespace glimpa {

/// Limits that keep a hostile file from taking the machine.
struct DecodeLimits {
    int maxSide = 65535;
    /// Decoded bytes (four a pixel) allowed for one picture: a 100-megapixel
    /// photo at its natural size.
    qint64 maxDecodedBytes = 400LL * 1000 * 1000;
    int maxProgressiveScans = 256;
};

/// A picture decoded upright, at its natural size or reduced.
struct DecodedImage {
    QImage image;
    QSize natural;  ///< the upright full size
    std::string error;
    explicit operator bool() const { return !image.isNull(); }
};

/// The upright natural size of a BMP, JPEG or GIF from its header; nothing for
/// anything else or a header that cannot be read.
std::optional<QSize> pictureSize(const QByteArray& bytes, std::string& error);

/// Decodes BMP, JPEG or GIF bytes (recognised by content) upright. With a
/// non-empty cover size the result may be smaller than the natural size but
/// covers that many pixels (a JPEG is decoded at a reduced DCT scale);
/// otherwise it has the natural size.
DecodedImage decodePicture(const QByteArray& bytes, QSize cover, const DecodeLimits& limits = {});

}  // namespace glimpa
