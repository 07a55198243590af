#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "decoding/Limits.h"

namespace glimpa {

/// A picture decoded upright, at its natural size or reduced.
struct DecodedImage {
    QImage image;
    QSize natural;  ///< the upright full size
    std::string error;
    explicit operator bool() const { return !image.isNull(); }
};

/// What size a picture is decoded to: at least a size, or exactly that size.
enum class DecodeFit { Covering, Exactly };

/// Whether the first bytes of a file are those of a BMP, JPEG or GIF.
bool hasPictureSignature(const QByteArray& head);

/// The upright natural size of a BMP, JPEG or GIF from its header; nothing for
/// anything else or a header that cannot be read.
std::optional<QSize> pictureSize(const QByteArray& bytes, std::string& error);

/// Decodes BMP, JPEG or GIF bytes (recognised by content) upright. With a
/// non-empty cover size the result may be smaller than the natural size but
/// covers that many pixels (a JPEG is decoded at a reduced DCT scale);
/// otherwise it has the natural size.
DecodedImage decodePicture(const QByteArray& bytes, QSize cover, const DecodeLimits& limits = {});

/// Decodes a picture as decodePicture does, but smoothly shrunk to exactly
/// `pixels` when the picture is at least that large in both directions (a
/// JPEG while it decodes, never held whole at a larger scale).
DecodedImage decodePictureAt(const QByteArray& bytes, QSize pixels,
                             const DecodeLimits& limits = {});

}  // namespace glimpa
