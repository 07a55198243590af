#include "decoding/Bmp.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "decoding/LittleEndian.h"
#include "decoding/RowShrinker.h"

namespace glimpa {

namespace {

/// The size a picture of `natural` pixels is decoded to, as decodeBmpRows
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

std::optional<QSize> bmpSize(const QByteArray& head, std::int64_t fileBytes, std::string& error) {
    if (head.size() < 26) {
        error = "truncated BMP header";
        return std::nullopt;
    }
    const std::uint32_t offset = littleEndian(head, 10, 4);
    const std::uint32_t headerSize = littleEndian(head, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = littleEndian(head, 18, 2);
        height = littleEndian(head, 20, 2);
        bitsPerPixel = littleEndian(head, 24, 2);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = static_cast<std::int32_t>(littleEndian(head, 18, 4));
        height = static_cast<std::int32_t>(littleEndian(head, 22, 4));
        bitsPerPixel = littleEndian(head, 28, 2);
        compression = littleEndian(head, 30, 4);
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
    if (offset >= fileBytes) {
        error = "BMP pixel data lies past the end of the file";
        return std::nullopt;
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed) {
        const qint64 rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
        if (width > limits::kMaxSidePx || height > limits::kMaxSidePx ||
            offset + rowBytes * height > fileBytes) {
            error = "truncated BMP";
            return std::nullopt;
        }
    }
    return QSize(static_cast<int>(std::min<qint64>(width, INT32_MAX)),
                 static_cast<int>(std::min<qint64>(height, INT32_MAX)));
}

qsizetype bmpRowsOffset(const QByteArray& head) {
    if (head.size() < 54) {
        return kMore;
    }
    const unsigned bits = littleEndian(head, 28, 2);
    const std::uint32_t headerSize = littleEndian(head, 14, 4);
    const std::uint32_t offset = littleEndian(head, 10, 4);
    // Rows that would begin inside the headers are no rows of this kind.
    if (headerSize < 40 || offset < 14 + qint64{headerSize} || littleEndian(head, 30, 4) != 0 ||
        (bits != 8 && bits != 24 && bits != 32)) {
        return kUnknown;
    }
    return offset;
}

namespace {

/// A BMP's pixel rows in the order the file holds them: from the bytes held
/// and then, with `readOn`, from the rest of the file.
class RowReader {
public:
    RowReader(const QByteArray& bytes, qint64 offset, const ReadOn& readOn)
        : m_bytes(bytes), m_at(offset), m_readOn(readOn) {}

    /// The next `count` bytes; false when the file ends first.
    bool read(unsigned char* into, qint64 count) {
        const qint64 held = std::clamp<qint64>(m_bytes.size() - m_at, 0, count);
        std::memcpy(into, m_bytes.constData() + m_at, static_cast<std::size_t>(held));
        m_at += held;
        into += held;
        count -= held;
        while (count > 0 && m_readOn) {
            const qint64 got = m_readOn(reinterpret_cast<char*>(into), count);
            if (got <= 0) {
                return false;
            }
            into += got;
            count -= got;
        }
        return count == 0;
    }

private:
    const QByteArray& m_bytes;
    qint64 m_at;
    const ReadOn& m_readOn;
};

}  // namespace

std::optional<DecodedImage> decodeBmpRows(const QByteArray& bytes, QSize size, DecodeFit fit,
                                          const DecodeLimits& limits, const ReadOn& readOn) {
    const qsizetype offset = bmpRowsOffset(bytes);
    if (offset < 0) {
        return std::nullopt;
    }
    DecodedImage result;
    // Rows missing from a file read on are found missing at its early end.
    const std::optional<QSize> natural = bmpSize(
        bytes, readOn ? std::numeric_limits<std::int64_t>::max() : bytes.size(), result.error);
    if (!natural) {
        return result;
    }
    if (offset > bytes.size()) {
        result.error = "truncated BMP header";
        return result;
    }
    result.natural = *natural;
    const QSize target = targetSize(*natural, size, fit, limits);
    if (natural->width() > limits.maxSide || natural->height() > limits.maxSide ||
        decodedBytes(target) > limits.maxDecodedBytes) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    const unsigned bits = littleEndian(bytes, 28, 2);
    // An 8-bit picture's colours: its table (as many entries as it names, 256
    // when it names none), black for an index past the table's end.
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    if (bits == 8) {
        const std::uint32_t used = littleEndian(bytes, 46, 4);
        const qint64 table = 14 + qint64{headerSize};
        const qint64 count =
            std::clamp<qint64>((offset - table) / 4, 0, used == 0 ? 256 : std::min(used, 256U));
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
    // A bottom-up file's rows, the usual kind, arrive from the bottom: they
    // are shrunk in that order and the result's rows stored from the bottom.
    const bool topDown = static_cast<std::int32_t>(littleEndian(bytes, 22, 4)) < 0;
    auto rowOf = [&](int arrived, int height) { return topDown ? arrived : height - 1 - arrived; };
    std::optional<RowShrinker> shrinker;
    if (target != *natural) {
        shrinker.emplace(natural->width(), natural->height(), target, [&](int y, const QRgb* row) {
            storeOpaqueRow(row, target.width(), image.scanLine(rowOf(y, target.height())));
        });
    }
    const qint64 rowBytes = ((qint64{natural->width()} * bits + 31) / 32) * 4;
    std::vector<unsigned char> stored(static_cast<std::size_t>(rowBytes));
    std::vector<QRgb> row(static_cast<std::size_t>(natural->width()));
    const int step = static_cast<int>(bits / 8);
    RowReader reader(bytes, offset, readOn);
    for (int arrived = 0; arrived < natural->height(); ++arrived) {
        if (!reader.read(stored.data(), rowBytes)) {
            result.error = "truncated BMP";
            return result;
        }
        const unsigned char* in = stored.data();
        for (QRgb& pixel : row) {
            pixel = bits == 8 ? colours[*in] : qRgb(in[2], in[1], in[0]);
            in += step;
        }
        if (shrinker) {
            shrinker->add(row.data());
        } else {
            storeOpaqueRow(row.data(), target.width(),
                           image.scanLine(rowOf(arrived, natural->height())));
        }
    }
    result.image = std::move(image);
    return result;
}

}  // namespace glimpa
