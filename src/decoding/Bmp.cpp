#include "decoding/Bmp.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "decoding/LittleEndian.h"
#include "decoding/RowSink.h"

namespace glimpa {

namespace {

/// The bytes of an uncompressed row: those its pixels use, and those it
/// takes in the file, padded to whole 32-bit words.
struct RowBytes {
    qint64 used = 0;
    qint64 padded = 0;
};

RowBytes rowBytesOf(qint64 width, unsigned bitsPerPixel) {
    const qint64 used = (width * bitsPerPixel + 7) / 8;
    return {used, (used + 3) / 4 * 4};
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
        // The last row's padding may be missing: some writers leave it out.
        const RowBytes row = rowBytesOf(width, bitsPerPixel);
        if (width > limits::kMaxSidePx || height > limits::kMaxSidePx ||
            offset + row.padded * (height - 1) + row.used > fileBytes) {
            error = "truncated BMP";
            return std::nullopt;
        }
    }
    return QSize(static_cast<int>(std::min<qint64>(width, INT32_MAX)),
                 static_cast<int>(std::min<qint64>(height, INT32_MAX)));
}

namespace {

enum class Coding { Rows, Rle8, Rle4 };

/// How a BMP that decodeBmpRows takes stores its pixels.
struct BmpLayout {
    unsigned bits = 0;
    Coding coding = Coding::Rows;
    /// A 16- or 32-bit picture's channels, red, green and blue, as masks of
    /// the pixel's bits; none for 24 bits and for 32 bits without them.
    std::array<std::uint32_t, 3> masks{};
};

constexpr std::uint32_t kCoreHeader = 12;  // OS/2 1.x: sides of 16 bits, colours of 3 bytes
constexpr std::uint32_t kOs2Header = 64;   // OS/2 2.x: compressions of other meanings
constexpr std::uint32_t kV4Header = 108;   // the first to hold an alpha mask that counts

/// The layout of a BMP from its headers, held in `head`; kUnknown in `status`
/// for a kind left to Qt's reader (a 32-bit one with an alpha channel, an
/// OS/2 2.x header, a compression that does not fit the depth), kMore when
/// `head` is too short to tell.
std::optional<BmpLayout> layoutOf(const QByteArray& head, qsizetype& status) {
    status = kUnknown;
    if (head.size() < 18) {
        status = kMore;
        return std::nullopt;
    }
    const std::uint32_t headerSize = littleEndian(head, 14, 4);
    if (headerSize == kCoreHeader) {
        if (head.size() < 26) {
            status = kMore;
            return std::nullopt;
        }
        const unsigned bits = littleEndian(head, 24, 2);
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
            return std::nullopt;
        }
        return BmpLayout{bits, Coding::Rows, {}};
    }
    if (headerSize < 40 || headerSize == kOs2Header) {
        return std::nullopt;
    }
    // The masks follow a 40-byte header, or are its next fields.
    constexpr qsizetype kMasksAt = 14 + 40;
    if (head.size() < kMasksAt) {
        status = kMore;
        return std::nullopt;
    }
    const unsigned bits = littleEndian(head, 28, 2);
    const std::uint32_t compression = littleEndian(head, 30, 4);
    BmpLayout layout{bits, Coding::Rows, {}};
    if (compression == 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32)) {
        return layout;
    }
    if (compression == 0 && bits == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
        return layout;
    }
    if ((compression == 1 && bits == 8) || (compression == 2 && bits == 4)) {
        layout.coding = compression == 1 ? Coding::Rle8 : Coding::Rle4;
        return layout;
    }
    if (compression == 3 && (bits == 16 || bits == 32)) {
        const bool alphaCounts = headerSize >= kV4Header;
        if (head.size() < kMasksAt + (alphaCounts ? 16 : 12)) {
            status = kMore;
            return std::nullopt;
        }
        if (alphaCounts && littleEndian(head, kMasksAt + 12, 4) != 0) {
            return std::nullopt;
        }
        layout.masks = {littleEndian(head, kMasksAt, 4), littleEndian(head, kMasksAt + 4, 4),
                        littleEndian(head, kMasksAt + 8, 4)};
        return layout;
    }
    return std::nullopt;
}

}  // namespace

qsizetype bmpRowsOffset(const QByteArray& head) {
    qsizetype status = kUnknown;
    if (!layoutOf(head, status)) {
        return status;
    }
    const std::uint32_t headerSize = littleEndian(head, 14, 4);
    const std::uint32_t offset = littleEndian(head, 10, 4);
    // Rows that would begin inside the headers are no rows of this kind.
    return offset < 14 + qint64{headerSize} ? kUnknown : offset;
}

namespace {

/// A BMP's pixel data in the order the file holds it: from the bytes held
/// and then, with `readOn`, from the rest of the file, a buffer at a time.
class PixelData {
public:
    PixelData(const QByteArray& bytes, qint64 offset, const ReadOn& readOn)
        : m_next(bytes.constData() + std::min<qint64>(offset, bytes.size())),
          m_end(bytes.constData() + bytes.size()),
          m_readOn(readOn) {}

    /// The next `count` bytes; false when the file ends first.
    bool read(unsigned char* into, qint64 count) {
        while (count > 0) {
            if (m_next == m_end && m_readOn && count >= kBufferBytes) {
                // Long rows go straight to where they are wanted.
                const qint64 got = m_readOn(reinterpret_cast<char*>(into), count);
                if (got <= 0) {
                    return false;
                }
                into += got;
                count -= got;
                continue;
            }
            if (m_next == m_end && !refill()) {
                return false;
            }
            const qint64 step = std::min<qint64>(count, m_end - m_next);
            std::memcpy(into, m_next, static_cast<std::size_t>(step));
            m_next += step;
            into += step;
            count -= step;
        }
        return true;
    }

    /// The next byte; false when the file ends first.
    bool next(unsigned char& byte) {
        if (m_next == m_end && !refill()) {
            return false;
        }
        byte = static_cast<unsigned char>(*m_next++);
        return true;
    }

private:
    static constexpr qint64 kBufferBytes = 64 * 1024;

    bool refill() {
        if (!m_readOn) {
            return false;
        }
        m_buffer.resize(kBufferBytes);
        const qint64 got = m_readOn(m_buffer.data(), kBufferBytes);
        if (got <= 0) {
            return false;
        }
        m_next = m_buffer.data();
        m_end = m_next + got;
        return true;
    }

    const char* m_next;
    const char* m_end;
    const ReadOn& m_readOn;
    std::vector<char> m_buffer;
};

/// One channel of a 16- or 32-bit pixel, taken by its mask and spread over
/// 0 to 255 (five bits of 31 give 255).
class Channel {
public:
    explicit Channel(std::uint32_t mask) {
        if (mask == 0) {
            return;
        }
        m_shift = std::countr_zero(mask);
        // A channel wider than 16 bits is read from its top 16.
        m_shift += std::max(0, static_cast<int>(std::bit_width(mask >> m_shift)) - 16);
        m_mask = mask;
        const std::uint64_t largest = mask >> m_shift;
        m_scale = ((std::uint64_t{255} << 32U) + largest / 2) / largest;
    }

    unsigned of(std::uint32_t pixel) const {
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<unsigned>((value * m_scale + (std::uint64_t{1} << 31U)) >> 32U);
    }

private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    std::uint64_t m_scale = 0;
};

/// Turns stored rows of a layout into rows of 32-bit RGB.
class RowExpander {
public:
    RowExpander(const BmpLayout& layout, std::vector<QRgb> colours)
        : m_bits(layout.bits),
          m_colours(std::move(colours)),
          m_red(layout.masks[0]),
          m_green(layout.masks[1]),
          m_blue(layout.masks[2]),
          m_masked(layout.masks != std::array<std::uint32_t, 3>{}) {}

    /// A row as the file stores it, or for a run-length coded picture a row
    /// of one colour index a byte.
    void expand(const unsigned char* in, QRgb* out, int width, bool indices) const {
        const unsigned bits = indices ? 8 : m_bits;
        switch (bits) {
            case 1:
                for (int x = 0; x < width; ++x) {
                    out[x] = m_colours[(in[x / 8] >> (7 - x % 8)) & 1U];
                }
                break;
            case 4:
                for (int x = 0; x < width; ++x) {
                    out[x] = m_colours[(in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0FU];
                }
                break;
            case 8:
                for (int x = 0; x < width; ++x) {
                    out[x] = m_colours[in[x]];
                }
                break;
            case 16:
                for (int x = 0; x < width; ++x, in += 2) {
                    masked(in[0] | (in[1] << 8U), out[x]);
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x, in += 3) {
                    out[x] = qRgb(in[2], in[1], in[0]);
                }
                break;
            default:  // 32
                for (int x = 0; x < width; ++x, in += 4) {
                    if (m_masked) {
                        masked(in[0] | (in[1] << 8U) | (in[2] << 16U) |
                                   (static_cast<std::uint32_t>(in[3]) << 24U),
                               out[x]);
                    } else {
                        out[x] = qRgb(in[2], in[1], in[0]);
                    }
                }
                break;
        }
    }

private:
    void masked(std::uint32_t pixel, QRgb& out) const {
        out = qRgb(static_cast<int>(m_red.of(pixel)), static_cast<int>(m_green.of(pixel)),
                   static_cast<int>(m_blue.of(pixel)));
    }

    unsigned m_bits;
    std::vector<QRgb> m_colours;
    Channel m_red;
    Channel m_green;
    Channel m_blue;
    bool m_masked;
};

/// A picture's colour table: as many entries as it names (all that its
/// depth can use when it names none) and the space before its pixels holds,
/// black for an index past the table's end.
std::vector<QRgb> colourTable(const QByteArray& bytes, const BmpLayout& layout, qint64 offset) {
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    if (layout.bits > 8) {
        return colours;
    }
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    const bool core = headerSize == kCoreHeader;
    const int entryBytes = core ? 3 : 4;
    const std::uint32_t named = core ? 0 : littleEndian(bytes, 46, 4);
    const qint64 table = 14 + qint64{headerSize};
    const qint64 count =
        std::clamp<qint64>((std::min<qint64>(offset, bytes.size()) - table) / entryBytes, 0,
                           named == 0 ? (1 << layout.bits) : std::min<std::uint32_t>(named, 256));
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = table + i * entryBytes;
        colours[static_cast<std::size_t>(i)] =
            qRgb(static_cast<unsigned char>(bytes[at + 2]),
                 static_cast<unsigned char>(bytes[at + 1]), static_cast<unsigned char>(bytes[at]));
    }
    return colours;
}

/// Decodes run-length coded rows of 8 or 4 bits an index, handing on each
/// row, as one index a byte, as soon as it is complete; false when the file
/// ends first. Pixels that the codes skip have the first colour; runs past a
/// row's end are cut there.
bool decodeRuns(PixelData& data, bool fourBits, QSize natural,
                const std::function<void(const unsigned char*)>& finished) {
    const int width = natural.width();
    std::vector<unsigned char> row(static_cast<std::size_t>(width), 0);
    bool written = false;
    int x = 0;
    int y = 0;
    auto put = [&](unsigned index) {
        if (x < width) {
            row[static_cast<std::size_t>(x++)] = static_cast<unsigned char>(index);
            written = true;
        }
    };
    auto finishRow = [&] {
        finished(row.data());
        if (written) {
            std::fill(row.begin(), row.end(), 0);
            written = false;
        }
        x = 0;
        ++y;
    };
    while (y < natural.height()) {
        unsigned char count = 0;
        unsigned char code = 0;
        if (!data.next(count) || !data.next(code)) {
            return false;
        }
        if (count > 0) {  // a run of one index, or of two by turns
            for (int i = 0; i < count; ++i) {
                put(fourBits && i % 2 == 1 ? code & 0x0FU : fourBits ? code >> 4U : code);
            }
        } else if (code == 0) {  // end of the row
            finishRow();
        } else if (code == 1) {  // end of the picture
            while (y < natural.height()) {
                finishRow();
            }
        } else if (code == 2) {  // a move right and up
            unsigned char right = 0;
            unsigned char up = 0;
            if (!data.next(right) || !data.next(up)) {
                return false;
            }
            const int along = x + right;
            for (int i = 0; i < up && y < natural.height(); ++i) {
                finishRow();
            }
            x = std::min(along, width);
        } else {  // `code` indices as they are, in bytes of an even number
            const int bytes = fourBits ? (code + 1) / 2 : code;
            unsigned char byte = 0;
            for (int i = 0; i < bytes; ++i) {
                if (!data.next(byte)) {
                    return false;
                }
                if (fourBits) {
                    put(byte >> 4U);
                    if (2 * i + 1 < code) {
                        put(byte & 0x0FU);
                    }
                } else {
                    put(byte);
                }
            }
            if (bytes % 2 == 1 && !data.next(byte)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::optional<DecodedImage> decodeBmpRows(const QByteArray& bytes, QSize size, DecodeFit fit,
                                          const DecodeLimits& limits, const ReadOn& readOn) {
    const qsizetype offset = bmpRowsOffset(bytes);
    qsizetype status = kUnknown;
    const std::optional<BmpLayout> layout = layoutOf(bytes, status);
    if (offset < 0 || !layout) {
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
    // A bottom-up file's rows, the usual kind, arrive from the bottom.
    const bool topDown = littleEndian(bytes, 14, 4) != kCoreHeader &&
                         static_cast<std::int32_t>(littleEndian(bytes, 22, 4)) < 0;
    RowSink sink(*natural, size, fit, limits, !topDown, false);
    if (!sink.error().empty()) {
        return sink.finish();
    }
    const RowExpander expander(*layout, colourTable(bytes, *layout, offset));
    std::vector<QRgb> row(static_cast<std::size_t>(natural->width()));
    auto take = [&](const unsigned char* stored, bool indices) {
        if (sink.takesNext()) {
            expander.expand(stored, row.data(), natural->width(), indices);
        }
        sink.add(row.data());
    };
    PixelData data(bytes, offset, readOn);
    if (layout->coding != Coding::Rows) {
        if (!decodeRuns(data, layout->coding == Coding::Rle4, *natural,
                        [&](const unsigned char* indices) { take(indices, true); })) {
            result.error = "truncated BMP";
            return result;
        }
    } else {
        const RowBytes row = rowBytesOf(natural->width(), layout->bits);
        std::vector<unsigned char> stored(static_cast<std::size_t>(row.padded));
        for (int arrived = 0; arrived < natural->height(); ++arrived) {
            const bool last = arrived == natural->height() - 1;
            if (!data.read(stored.data(), last ? row.used : row.padded)) {
                result.error = "truncated BMP";
                return result;
            }
            take(stored.data(), false);
        }
    }
    return sink.finish();
}

}  // namespace glimpa
