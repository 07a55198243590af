#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>
#include <string>

#include "decoding/Decode.h"

namespace glimpa {

/// A GIF's size (the screen it is shown on), after walking its blocks up to
/// its trailer without decoding any pixels: a truncated file, a block that
/// runs past the end, a picture without pixels or an impossible code size is
/// refused.
std::optional<QSize> gifSize(const QByteArray& bytes, std::string& error);

/// Decodes a GIF's first picture, as Qt's reader shows it, row by row: each
/// row shrunk as it is decoded (see RowSink), so that a GIF larger than the
/// decoding budget is shown at the largest size the budget holds. Qt's
/// reader decodes a GIF whole, at four bytes a pixel.
DecodedImage decodeGifRows(const QByteArray& bytes, QSize size, DecodeFit fit,
                           const DecodeLimits& limits);

}  // namespace glimpa
