#pragma once

#include <QByteArray>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>

#include "decoding/Decode.h"

namespace glimpa {

/// A BMP's size from its header, after checking that the header's promises
/// fit a file of `fileBytes`, of which `head` is the beginning: pixel data
/// inside the file and every uncompressed row present.
std::optional<QSize> bmpSize(const QByteArray& head, std::int64_t fileBytes, std::string& error);

/// Where the rows of a BMP begin when it is of a kind decodeBmpRows takes,
/// so that the rest of the file can be read as it decodes: kMore when `head`
/// is too short to tell, kUnknown for any other kind.
qsizetype bmpRowsOffset(const QByteArray& head);

/// Decodes a BMP of any depth, plain, run-length coded or with colour masks,
/// row by row as its rows are read, from `bytes` and then, with `readOn`,
/// from the rest of its file; it is never held whole at a size larger than
/// the result's. The result is the natural size, or when `size` is given and
/// smaller: `size` when fitted exactly, the smallest size of its shape that
/// covers `size` otherwise; and no more than the decoding budget holds. A
/// picture of more pixels than a reduction may pass is shrunk from every
/// so many of its rows, and further to match. Nothing when the BMP is of a
/// kind Qt's reader takes (one with an alpha channel, an OS/2 2.x header).
std::optional<DecodedImage> decodeBmpRows(const QByteArray& bytes, QSize size, DecodeFit fit,
                                          const DecodeLimits& limits, const ReadOn& readOn);

}  // namespace glimpa
