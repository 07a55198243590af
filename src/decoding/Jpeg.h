#pragma once

#include <QByteArray>
#include <QSize>

#include "decoding/Decode.h"

namespace glimpa {

/// The stored (not yet turned) size of a JPEG, or an empty size.
QSize jpegStoredSize(const QByteArray& bytes, std::string& error);

/// Decodes a JPEG with libjpeg-turbo, at the smallest 1/2ⁿ scale whose result
/// still covers `size` (upright pixels; empty for the full size), any warning
/// of the decoder counted as a failure, then turns it upright. Fitted
/// exactly, the rows are shrunk further to `size` as they are decoded, when
/// that is smaller in both directions. With `readOn`, `bytes` is the header
/// of a baseline JPEG and the rest is read as it decodes.
DecodedImage decodeJpeg(const QByteArray& bytes, QSize size, DecodeFit fit,
                        const DecodeLimits& limits, const ReadOn& readOn = {});

}  // namespace glimpa
