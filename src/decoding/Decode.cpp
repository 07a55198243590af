#include "decoding/Decode.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

#include "decoding/Jpeg.h"
#include "decoding/JpegMarkers.h"
#include "decoding/UprightRows.h"

namespace glimpa {

namespace {

enum class Format { Unknown, Jpeg, Bmp, Gif };

Format sniff(const QByteArray& bytes) {
    if (isJpeg(bytes)) {
        return Format::Jpeg;
    }
    if (bytes.startsWith("BM")) {
        return Format::Bmp;
    }
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) {
        return Format::Gif;
    }
    return Format::Unknown;
}

std::uint32_t le(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8U) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

/// A BMP's size from its header, after checking that the header's promises
/// fit the file: pixel data inside the file and every uncompressed row present.
std::optional<QSize> bmpSize(const QByteArray& bytes, std::string& error) {
    if (bytes.size() < 26) {
        error = "truncated BMP header";
        return std::nullopt;
    }
    const std::uint32_t offset = le(bytes, 10, 4);
    const std::uint32_t headerSize = le(bytes, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = le(bytes, 18, 2);
        height = le(bytes, 20, 2);
        bitsPerPixel = le(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        width = static_cast<std::int32_t>(le(bytes, 18, 4));
        height = static_cast<std::int32_t>(le(bytes, 22, 4));
        bitsPerPixel = le(bytes, 28, 2);
        compression = le(bytes, 30, 4);
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

/// Walks a GIF's blocks up to its trailer without decoding any pixels: a
/// truncated file, a block that runs past the end, an image outside the
/// screen or an impossible code size is refused here.
std::optional<QSize> gifSize(const QByteArray& bytes, std::string& error) {
    const auto size = bytes.size();
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    if (size < 13) {
        error = "truncated GIF header";
        return std::nullopt;
    }
    const QSize screen(static_cast<int>(le(bytes, 6, 2)), static_cast<int>(le(bytes, 8, 2)));
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
                break;
            }
            ++at;  // the extension's label
            if (!skipSubBlocks()) {
                break;
            }
        } else if (introducer == 0x2C) {
            if (at + 9 > size) {
                break;
            }
            const std::uint32_t left = le(bytes, at, 2);
            const std::uint32_t top = le(bytes, at + 2, 2);
            const std::uint32_t width = le(bytes, at + 4, 2);
            const std::uint32_t height = le(bytes, at + 6, 2);
            const unsigned flags = byte(at + 8);
            at += 9;
            if (width == 0 || height == 0 ||
                left + width > static_cast<std::uint32_t>(screen.width()) ||
                top + height > static_cast<std::uint32_t>(screen.height())) {
                error = "GIF image outside its screen";
                return std::nullopt;
            }
            if ((flags & 0x80U) != 0) {
                at += 3 * (qsizetype{1} << ((flags & 0x07U) + 1));
            }
            if (at >= size) {
                break;
            }
            const unsigned codeSize = byte(at++);
            if (codeSize < 2 || codeSize > 8) {
                error = "GIF with an impossible code size";
                return std::nullopt;
            }
            if (!skipSubBlocks()) {
                break;
            }
            hasImage = true;
        } else {
            error = "damaged GIF";
            return std::nullopt;
        }
    }
    error = "truncated GIF";
    return std::nullopt;
}

/// A decoded image in a direct-colour format. An indexed image whose pixels
/// point past its colour table (a damaged palette) would read outside it when
/// drawn or scaled; missing entries are filled with black first.
QImage withoutPalette(QImage image) {
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB) {
        QList<QRgb> table = image.colorTable();
        const qsizetype needed = image.format() == QImage::Format_Indexed8 ? 256 : 2;
        while (table.size() < needed) {
            table.append(qRgb(0, 0, 0));
        }
        image.setColorTable(table);
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

DecodedImage decodeWithQt(const QByteArray& bytes, const char* format, QSize natural, QSize size,
                          DecodeFit fit, const DecodeLimits& limits) {
    DecodedImage result;
    result.natural = natural;
    if (natural.width() > limits.maxSide || natural.height() > limits.maxSide ||
        static_cast<qint64>(natural.width()) * natural.height() * 4 > limits.maxDecodedBytes) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    QImage image = withoutPalette(reader.read());
    if (image.isNull()) {
        result.error = reader.errorString().toStdString();
        return result;
    }
    if (image.size() != natural) {
        result.error = "the picture does not match its header";
        return result;
    }
    // Only ever smaller: a picture far wider than the cover size (or far
    // taller) is kept as it is rather than enlarged in its short side.
    if (fit == DecodeFit::Exactly && !size.isEmpty() && image.width() >= size.width() &&
        image.height() >= size.height()) {
        if (image.size() != size) {
            image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    } else if (!size.isEmpty() && image.width() > size.width() && image.height() > size.height()) {
        image = image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    }
    result.image = std::move(image);
    return result;
}

}  // namespace

bool hasPictureSignature(const QByteArray& head) {
    return sniff(head) != Format::Unknown;
}

std::optional<QSize> pictureSize(const QByteArray& bytes, std::string& error) {
    switch (sniff(bytes)) {
        case Format::Jpeg: {
            const QSize stored = jpegStoredSize(bytes, error);
            if (stored.isEmpty()) {
                return std::nullopt;
            }
            return turnsSideways(jpegOrientation(bytes)) ? stored.transposed() : stored;
        }
        case Format::Bmp:
            return bmpSize(bytes, error);
        case Format::Gif:
            return gifSize(bytes, error);
        case Format::Unknown:
            break;
    }
    error = "not a BMP, JPEG or GIF picture";
    return std::nullopt;
}

namespace {

DecodedImage decode(const QByteArray& bytes, QSize size, DecodeFit fit,
                    const DecodeLimits& limits) {
    const Format format = sniff(bytes);
    if (format == Format::Jpeg) {
        return decodeJpeg(bytes, size, fit, limits);
    }
    DecodedImage failed;
    const std::optional<QSize> natural = pictureSize(bytes, failed.error);
    if (!natural || natural->isEmpty()) {
        if (failed.error.empty()) {
            failed.error = "a picture without pixels";
        }
        return failed;
    }
    return decodeWithQt(bytes, format == Format::Bmp ? "bmp" : "gif", *natural, size, fit, limits);
}

}  // namespace

DecodedImage decodePicture(const QByteArray& bytes, QSize cover, const DecodeLimits& limits) {
    return decode(bytes, cover, DecodeFit::Covering, limits);
}

DecodedImage decodePictureAt(const QByteArray& bytes, QSize pixels, const DecodeLimits& limits) {
    return decode(bytes, pixels, DecodeFit::Exactly, limits);
}

}  // namespace glimpa
