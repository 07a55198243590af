#include "decoding/Bmp.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "decoding/LittleEndian.h"
#include "decoding/RowShrinker.h"

namespace glimpa {

namespace {

/// The size a picture of `natural` pixels is decoded to, as decodeBmpShrunk
/// describes it.
QSize targetSize(QSize natural, QSize size, DecodeFit fit, const DecodeLimits& limits) {
    QSize target = natural;
    if (!size.isEmpty() && size.width() <= natural.width() && size.height() <= natural.height()) {
        if (fit == DecodeFit::Exactly) {
            target = size;
        } else {
            const double scale = std::max(static_cast<double>(size.width()) / natural.width(),
                                          static_cast<double>(size.height()) / natural.height());
            target =
                QSize(
                    std::max(size.width(), static_cast<int>(std::ceil(natural.width() * scale))),
                    std::max(size.height(), static_cast<int>(std::ceil(natural.height() * scale))))
                    .boundedTo(natural);
        }
    }
    return withinBudget(target, limits.maxDecodedBytes);
}

}  // namespace

std::optional<QSize> bmpSize(const QByteArray& bytes, std::string& error) {
    if (bytes.size() < 26) {
        error = "truncated BMP header";
        return std::nullopt;
    }
    const std::uint32_t offset = littleEndian(bytes, 10, 4);
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = littleEndian(bytes, 18, 2);
        height = littleEndian(bytes, 20, 2);
        bitsPerPixel = littleEndian(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        width = static_cast<std::int32_t>(littleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(littleEndian(bytes, 22, 4));
        bitsPerPixel = littleEndian(bytes, 28, 2);
        compression = littleEndian(bytes, 30, 4);
    } else {
        error = "unknown BMP header";
        return std::nullopt;
    }
    height = std::llabs(height);
    if (width <= 0 || height <= 0) {
        error = "BMP without pixels";
        return std::nullopt;
    }
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            error = "unknown BMP bit depth";
            return std::nullopt;
    }
    if (offset >= static_cast<std::uint64_t>(bytes.size())) {
        error = "BMP pixel data lies past the end of the file";
        return std::nullopt;
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed) {
        const qint64 rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
        if (width > limits::kMaxSidePx || height > limits::kMaxSidePx ||
            offset + rowBytes * height > static_cast<qint64>(bytes.size())) {
            error = "truncated BMP";
            return std::nullopt;
        }
    }
    return QSize(static_cast<int>(std::min<qint64>(width, INT32_MAX)),
                 static_cast<int>(std::min<qint64>(height, INT32_MAX)));
}

std::optional<DecodedImage> decodeBmpShrunk(const QByteArray& bytes, QSize natural, QSize size,
                                            DecodeFit fit, const DecodeLimits& limits) {
    if (bytes.size() < 54) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    const unsigned bits = littleEndian(bytes, 28, 2);
    if (headerSize < 40 || littleEndian(bytes, 30, 4) != 0 ||
        (bits != 8 && bits != 24 && bits != 32)) {
        return std::nullopt;
    }
    const QSize target = targetSize(natural, size, fit, limits);
    if (target == natural) {
        return std::nullopt;
    }
    DecodedImage result;
    result.natural = natural;
    if (decodedBytes(target) > limits.maxDecodedBytes) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }
    // An 8-bit picture's colours: its table (as many entries as it names, 256
    // when it names none), black for an index past the table's end.
    std::vector<QRgb> colours;
    if (bits == 8) {
        const std::uint32_t used = littleEndian(bytes, 46, 4);
        const qint64 count = used == 0 ? 256 : std::min<qint64>(used, 256);
        const qint64 table = 14 + qint64{headerSize};
        if (table + count * 4 > bytes.size()) {
            return std::nullopt;
        }
        colours.assign(256, qRgb(0, 0, 0));
        for (qint64 i = 0; i < count; ++i) {
            const qint64 at = table + i * 4;
            colours[static_cast<std::size_t>(i)] = qRgb(static_cast<unsigned char>(bytes[at + 2]),
                                                        static_cast<unsigned char>(bytes[at + 1]),
                                                        static_cast<unsigned char>(bytes[at]));
        }
    }
    QImage image(target, kOpaqueFormat);
    if (image.isNull()) {
        result.error = "out of memory";
        return result;
    }
    RowShrinker shrinker(natural.width(), natural.height(), target, [&](int y, const QRgb* row) {
        storeOpaqueRow(row, target.width(), image.scanLine(y));
    });
    const qint64 offset = littleEndian(bytes, 10, 4);
    const qint64 rowBytes = ((qint64{natural.width()} * bits + 31) / 32) * 4;
    const bool topDown = static_cast<std::int32_t>(littleEndian(bytes, 22, 4)) < 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const int step = static_cast<int>(bits / 8);
    std::vector<QRgb> row(static_cast<std::size_t>(natural.width()));
    for (int y = 0; y < natural.height(); ++y) {
        const unsigned char* in =
            data + offset + rowBytes * (topDown ? y : natural.height() - 1 - y);
        for (int x = 0; x < natural.width(); ++x, in += step) {
            row[static_cast<std::size_t>(x)] = bits == 8 ? colours[*in] : qRgb(in[2], in[1], in[0]);
        }
        shrinker.add(row.data());
    }
    result.image = std::move(image);
    return result;
}

}  // namespace glimpa
