#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>
#include <string>

#include "decoding/Decode.h"

namespace glimpa {

/// A BMP's size from its header, after checking that the header's promises
/// fit the file: pixel data inside the file and every uncompressed row present.
std::optional<QSize> bmpSize(const QByteArray& bytes, std::string& error);

/// Decodes an uncompressed BMP of 8 (with its colour table), 24 or 32 bits a
/// pixel shrunk while its rows are read, never held whole: to `size` when
/// fitted exactly, to the smallest size of its shape that covers `size`
/// otherwise, and to no more than the decoding budget holds. Nothing when the
/// BMP is of another kind or wanted at its natural size: Qt's reader takes
/// those. `natural` is the size its header gives, already checked to fit the
/// file.
std::optional<DecodedImage> decodeBmpShrunk(const QByteArray& bytes, QSize natural, QSize size,
                                            DecodeFit fit, const DecodeLimits& limits);

}  // namespace glimpa
