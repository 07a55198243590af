#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "decoding/Limits.h"
#include "decoding/OpaqueImage.h"

namespace glimpa {

/// A picture decoded upright, at its natural size or reduced.
struct DecodedImage {
    QImage image;
    QSize natural;  ///< the upright full size
    /// No larger decode of the picture is to be had: the memory budget (or
    /// the time a reduction may take) holds it to this size.
    bool largest = false;
    std::string error;
    explicit operator bool() const { return !image.isNull(); }
};

/// The rest of a file of which only the first bytes are held, read on while
/// it decodes: reads up to `count` bytes into `into` and answers how many (0
/// at its end or on a failure).
using ReadOn = std::function<qsizetype(char* into, qsizetype count)>;

/// How many of a file's first bytes a decode needs held before it can read
/// the rest as it goes: kMore when the bytes held are too few to tell,
/// kUnknown when the picture must be held whole to be decoded.
inline constexpr qsizetype kMore = -1;
inline constexpr qsizetype kUnknown = -2;
qsizetype streamedHeaderLength(const QByteArray& head);

/// What size a picture is decoded to: at least a size, exactly that size, or
/// as small as it comes quickest (a JPEG at its smallest scale).
enum class DecodeFit { Covering, Exactly, Coarsely };

/// The bytes a picture of this many pixels takes decoded, four a pixel.
inline std::int64_t decodedBytes(QSize pixels) {
    return std::int64_t{pixels.width()} * pixels.height() * 4;
}

/// The largest size of the shape of `pixels` whose decoded bytes stay within
/// `budget`; `pixels` itself when they do. It may still be over the budget
/// when not even one row fits.
QSize withinBudget(QSize pixels, std::int64_t budget);

/// Whether the first bytes of a file are those of a BMP, JPEG or GIF.
bool hasPictureSignature(const QByteArray& head);

/// The upright natural size of a BMP, JPEG or GIF from its header, the
/// beginning of a file of `fileBytes`; nothing for anything else or a header
/// that cannot be read.
std::optional<QSize> pictureSize(const QByteArray& head, std::int64_t fileBytes,
                                 std::string& error);

/// Decodes BMP, JPEG or GIF bytes (recognised by content) upright. With a
/// non-empty cover size the result may be smaller than the natural size but
/// covers that many pixels (a JPEG is decoded at a reduced DCT scale);
/// otherwise it has the natural size. Either way no larger than the budget
/// of `limits` holds (then `largest`). With `readOn`, `bytes` holds only the
/// file's first streamedHeaderLength() bytes or more, and the rest is read as
/// it decodes.
DecodedImage decodePicture(const QByteArray& bytes, QSize cover, const DecodeLimits& limits = {},
                           const ReadOn& readOn = {});

/// Decodes a picture as quickly as it can be had: a JPEG at its smallest
/// scale, a progressive one from the first scans that give every block its
/// colour (the rest is not decoded); any other picture as decodePicture does.
DecodedImage decodeCoarsely(const QByteArray& bytes, const DecodeLimits& limits = {},
                            const ReadOn& readOn = {});

/// Decodes a picture as decodePicture does, but smoothly shrunk to exactly
/// `pixels` when the picture is at least that large in both directions (a
/// JPEG while it decodes, never held whole at a larger scale).
DecodedImage decodePictureAt(const QByteArray& bytes, QSize pixels, const DecodeLimits& limits = {},
                             const ReadOn& readOn = {});

}  // namespace glimpa
