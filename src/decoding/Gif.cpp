#include "decoding/Gif.h"

#include <QRect>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "decoding/LittleEndian.h"
#include "decoding/RowSink.h"

namespace glimpa {

namespace {

/// The screen a GIF is shown on, as Qt's reader and browsers take it: the
/// one it names, unless that is none or far larger than its first picture,
/// `frame`; then as large as that picture reaches. A picture past the
/// screen's edges is cut there.
QSize shownScreen(QSize named, QRect frame) {
    static constexpr int kBelievable = 16384;
    auto side = [](int side, int frameSide, int reach) {
        return side <= 0 || side / 10 > std::max(frameSide, kBelievable) ? reach : side;
    };
    return {side(named.width(), frame.width(), frame.left() + frame.width()),
            side(named.height(), frame.height(), frame.top() + frame.height())};
}

}  // namespace

std::optional<QSize> gifSize(const QByteArray& bytes, std::string& error) {
    const auto size = bytes.size();
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    if (size < 13) {
        error = "truncated GIF header";
        return std::nullopt;
    }
    QSize screen(static_cast<int>(littleEndian(bytes, 6, 2)),
                 static_cast<int>(littleEndian(bytes, 8, 2)));
    qsizetype at = 13;
    if ((byte(10) & 0x80U) != 0) {
        at += 3 * (qsizetype{1} << ((byte(10) & 0x07U) + 1));
    }
    // Skips a chain of data sub-blocks; false when it runs past the end.
    auto skipSubBlocks = [&]() {
        while (at < size) {
            const unsigned length = byte(at++);
            if (length == 0) {
                return true;
            }
            at += length;
        }
        return false;
    };
    auto cut = [&] {
        error = "truncated GIF";
        return std::optional<QSize>();
    };
    bool hasImage = false;
    while (at < size) {
        const unsigned introducer = byte(at++);
        if (introducer == 0x3B) {
            if (!hasImage) {
                error = "GIF without an image";
                return std::nullopt;
            }
            return screen;
        }
        if (introducer == 0x21) {
            if (at >= size) {
                return cut();
            }
            ++at;  // the extension's label
            if (!skipSubBlocks()) {
                return cut();
            }
        } else if (introducer == 0x2C) {
            if (at + 9 > size) {
                return cut();
            }
            const std::uint32_t left = littleEndian(bytes, at, 2);
            const std::uint32_t top = littleEndian(bytes, at + 2, 2);
            const std::uint32_t width = littleEndian(bytes, at + 4, 2);
            const std::uint32_t height = littleEndian(bytes, at + 6, 2);
            const unsigned flags = byte(at + 8);
            at += 9;
            if (width == 0 || height == 0) {
                error = "GIF image without pixels";
                return std::nullopt;
            }
            if (!hasImage) {
                screen =
                    shownScreen(screen, QRect(static_cast<int>(left), static_cast<int>(top),
                                              static_cast<int>(width), static_cast<int>(height)));
            }
            if ((flags & 0x80U) != 0) {
                at += 3 * (qsizetype{1} << ((flags & 0x07U) + 1));
            }
            if (at >= size) {
                return cut();
            }
            const unsigned codeSize = byte(at++);
            if (codeSize < 2 || codeSize > 8) {
                error = "GIF with an impossible code size";
                return std::nullopt;
            }
            if (!skipSubBlocks()) {
                return cut();
            }
            hasImage = true;
        } else {
            error = "damaged GIF";
            return std::nullopt;
        }
    }
    // The file ends after a whole block: a GIF whose writer left out the
    // trailer, as some do, shows as other viewers show it.
    if (!hasImage) {
        error = "GIF without an image";
        return std::nullopt;
    }
    return screen;
}

namespace {

constexpr QRgb kTransparent = 0x00FFFFFFU;  // what Qt's reader gives for no colour

/// What showing a GIF's first picture needs: where its pixels go and what
/// colour each index is.
struct FirstPicture {
    QSize screen;
    QRect frame;
    bool interlaced = false;
    int codeSize = 0;
    qsizetype data = 0;  ///< where the picture's first data sub-block begins
    /// The colour of each index as Qt's reader gives it: from the table in
    /// use, transparent past its end and for the transparent index.
    std::array<QRgb, 256> colours{};
    bool transparency = false;
    /// What the screen shows where the picture does not cover it.
    QRgb blank = 0;
};

/// Reads the colour table at `at` of `count` entries into `into`.
void readTable(const QByteArray& bytes, qsizetype at, int count, std::array<QRgb, 256>& into) {
    for (int i = 0; i < count && i < 256; ++i, at += 3) {
        into[static_cast<std::size_t>(i)] =
            qRgb(static_cast<unsigned char>(bytes[at]), static_cast<unsigned char>(bytes[at + 1]),
                 static_cast<unsigned char>(bytes[at + 2]));
    }
}

/// The first picture of a GIF that gifSize took, shown on `screen`.
std::optional<FirstPicture> firstPicture(const QByteArray& bytes, QSize screen) {
    const auto size = bytes.size();
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    FirstPicture picture;
    picture.screen = screen;
    std::array<QRgb, 256> global{};
    const bool hasGlobal = (byte(10) & 0x80U) != 0;
    const int globalCount = 2 << (byte(10) & 0x07U);
    qsizetype at = 13;
    if (hasGlobal) {
        readTable(bytes, at, globalCount, global);
        at += 3 * globalCount;
    }
    const int background = hasGlobal ? byte(11) : -1;
    int transparent = -1;
    while (at + 1 < size) {
        const unsigned introducer = byte(at++);
        if (introducer == 0x21) {
            const unsigned label = byte(at++);
            if (label == 0xF9 && at + 4 < size && byte(at) >= 4) {
                transparent = (byte(at + 1) & 0x01U) != 0 ? byte(at + 4) : -1;
            }
            while (at < size && byte(at) != 0) {
                at += byte(at) + 1;
            }
            ++at;
            continue;
        }
        if (introducer != 0x2C || at + 10 > size) {
            return std::nullopt;
        }
        picture.frame = QRect(static_cast<int>(littleEndian(bytes, at, 2)),
                              static_cast<int>(littleEndian(bytes, at + 2, 2)),
                              static_cast<int>(littleEndian(bytes, at + 4, 2)),
                              static_cast<int>(littleEndian(bytes, at + 6, 2)));
        const unsigned flags = byte(at + 8);
        picture.interlaced = (flags & 0x40U) != 0;
        at += 9;
        std::array<QRgb, 256> local{};
        const bool hasLocal = (flags & 0x80U) != 0;
        const int localCount = hasLocal ? 2 << (flags & 0x07U) : 0;
        if (hasLocal) {
            readTable(bytes, at, localCount, local);
            at += 3 * localCount;
        }
        picture.codeSize = byte(at);
        picture.data = at + 1;
        // As Qt's reader: an index past the table in use has no colour, and
        // without a table every index is black.
        const bool hasTable = hasLocal || hasGlobal;
        const int count = hasLocal ? localCount : globalCount;
        const std::array<QRgb, 256>& table = hasLocal ? local : global;
        for (int index = 0; index < 256; ++index) {
            QRgb colour = index >= count ? kTransparent : hasTable ? table[index] : 0;
            if (index == transparent) {
                colour &= kTransparent;
            }
            picture.colours[static_cast<std::size_t>(index)] = colour;
        }
        picture.transparency = transparent >= 0;
        // Where the picture leaves the screen uncovered, Qt's reader shows no
        // colour when one is transparent, and otherwise the background.
        const bool covers = picture.frame == QRect(QPoint(0, 0), picture.screen);
        if (!covers && !picture.transparency && background >= 0) {
            picture.blank = background < globalCount ? global[background] : kTransparent;
        }
        return picture;
    }
    return std::nullopt;
}

/// The codes of a picture's data, least significant bit first, across its
/// sub-blocks.
class CodeReader {
public:
    CodeReader(const QByteArray& bytes, qsizetype at) : m_bytes(bytes), m_at(at) {}

    /// The next code of `width` bits; false at the data's end.
    bool next(int width, int& code) {
        while (m_count < width) {
            if (m_left == 0) {
                if (m_at >= m_bytes.size() || m_bytes[m_at] == 0) {
                    return false;
                }
                m_left = static_cast<unsigned char>(m_bytes[m_at++]);
            }
            if (m_at >= m_bytes.size()) {
                return false;
            }
            m_bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_at++]))
                      << static_cast<unsigned>(m_count);
            m_count += 8;
            --m_left;
        }
        code = static_cast<int>(m_bits & ((1U << static_cast<unsigned>(width)) - 1));
        m_bits >>= static_cast<unsigned>(width);
        m_count -= width;
        return true;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_at;
    int m_left = 0;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

/// Decodes a picture's LZW data into indices, handing each on; false when
/// the data names a code that cannot be.
template <typename Put>
bool decodeIndices(const QByteArray& bytes, const FirstPicture& picture, Put put) {
    constexpr int kMaxWidth = 12;
    constexpr int kTableSize = 1 << kMaxWidth;
    const int clear = 1 << picture.codeSize;
    const int end = clear + 1;
    int width = picture.codeSize + 1;
    int next = clear + 2;
    int old = -1;
    int first = 0;
    std::array<std::uint16_t, kTableSize> prefix{};
    std::array<std::uint8_t, kTableSize> suffix{};
    std::vector<std::uint8_t> stack;
    stack.reserve(kTableSize + 1);
    CodeReader reader(bytes, picture.data);
    int code = 0;
    while (reader.next(width, code) && code != end) {
        if (code == clear) {
            width = picture.codeSize + 1;
            next = clear + 2;
            old = -1;
            continue;
        }
        if (old < 0) {
            if (code > clear) {
                return false;
            }
            put(static_cast<std::uint8_t>(code));
            old = first = code;
            continue;
        }
        const int in = code;
        if (code > next) {
            return false;
        }
        if (code == next) {  // the code being made: the last string and its first index
            stack.push_back(static_cast<std::uint8_t>(first));
            code = old;
        }
        while (code >= clear + 2) {
            stack.push_back(suffix[static_cast<std::size_t>(code)]);
            code = prefix[static_cast<std::size_t>(code)];
        }
        first = code;
        stack.push_back(static_cast<std::uint8_t>(first));
        if (next < kTableSize) {
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(old);
            suffix[static_cast<std::size_t>(next)] = static_cast<std::uint8_t>(first);
            ++next;
            if (next == 1 << width && width < kMaxWidth) {
                ++width;
            }
        }
        old = in;
        while (!stack.empty()) {
            put(stack.back());
            stack.pop_back();
        }
    }
    return true;
}

/// The frame row that the `decoded`th row of an interlaced picture of
/// `height` rows is: every eighth from 0, every eighth from 4, every fourth
/// from 2, every second from 1.
int interlacedRow(int decoded, int height) {
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        const int inPass = start < height ? (height - start + step - 1) / step : 0;
        if (decoded < inPass) {
            return start + decoded * step;
        }
        decoded -= inPass;
    }
    return height;
}

}  // namespace

DecodedImage decodeGifRows(const QByteArray& bytes, QSize size, DecodeFit fit,
                           const DecodeLimits& limits) {
    DecodedImage failed;
    const std::optional<QSize> natural = gifSize(bytes, failed.error);
    const std::optional<FirstPicture> picture =
        natural ? firstPicture(bytes, *natural) : std::optional<FirstPicture>();
    if (!picture || picture->codeSize < 2 || picture->codeSize > 8) {
        failed.error = failed.error.empty() ? "damaged GIF" : failed.error;
        return failed;
    }
    const QRect frame = picture->frame;
    RowSink sink(*natural, size, fit, limits, false, picture->transparency);
    if (!sink.error().empty()) {
        return sink.finish();
    }
    // Each colour as it is stored: premultiplied, or opaque.
    const auto asShown = [&](QRgb colour) {
        return picture->transparency ? qPremultiply(colour) : colour | 0xFF000000U;
    };
    std::array<QRgb, 256> shown{};
    std::transform(picture->colours.begin(), picture->colours.end(), shown.begin(), asShown);
    const QRgb blank = asShown(picture->blank);
    std::vector<QRgb> line(static_cast<std::size_t>(natural->width()), blank);
    int screenRow = 0;
    auto blankUntil = [&](int row) {
        for (; screenRow < row; ++screenRow) {
            sink.add(line.data());
        }
    };
    // The part of the picture on the screen.
    const int left = std::min(frame.left(), natural->width());
    const int across = std::min(frame.width(), natural->width() - left);
    // One row of the picture, or none when the data ended before it.
    auto frameRow = [&](const std::uint8_t* indices) {
        if (screenRow >= natural->height()) {
            return;
        }
        const auto span = line.begin() + left;
        if (sink.takesNext() && indices != nullptr) {
            for (int x = 0; x < across; ++x) {
                span[x] = shown[indices[x]];
            }
            sink.add(line.data());
            std::fill(span, span + across, blank);
        } else {
            sink.add(line.data());
        }
        ++screenRow;
    };
    blankUntil(std::min(frame.top(), natural->height()));
    // Rows arrive in order, or in an interlaced picture's passes, all held
    // until the last.
    std::vector<std::uint8_t> held;
    if (picture->interlaced) {
        const std::int64_t heldBytes = std::int64_t{frame.width()} * frame.height();
        if (heldBytes > limits.maxDecodedBytes) {
            failed.error = "the picture needs more memory than allowed";
            return failed;
        }
        held.resize(static_cast<std::size_t>(heldBytes));
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(frame.width()));
    int decodedRows = 0;
    int x = 0;
    const bool whole = decodeIndices(bytes, *picture, [&](std::uint8_t index) {
        if (decodedRows >= frame.height()) {
            return;
        }
        row[static_cast<std::size_t>(x++)] = index;
        if (x < frame.width()) {
            return;
        }
        x = 0;
        if (picture->interlaced) {
            std::copy(row.begin(), row.end(),
                      held.begin() +
                          static_cast<std::ptrdiff_t>(interlacedRow(decodedRows, frame.height())) *
                              frame.width());
        } else {
            frameRow(row.data());
        }
        ++decodedRows;
    });
    if (!whole) {
        failed.error = "damaged GIF data";
        return failed;
    }
    for (int y = picture->interlaced ? 0 : decodedRows; y < frame.height(); ++y) {
        frameRow(picture->interlaced ? held.data() + static_cast<std::ptrdiff_t>(y) * frame.width()
                                     : nullptr);
    }
    blankUntil(natural->height());
    return sink.finish();
}

}  // namespace glimpa
