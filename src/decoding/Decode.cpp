#include "decoding/Decode.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "decoding/Bmp.h"
#include "decoding/Gif.h"
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
                                                         : kOpaqueFormat);
}

DecodedImage decodeWithQt(const QByteArray& bytes, const char* format, QSize natural, QSize size,
                          DecodeFit fit, const DecodeLimits& limits) {
    DecodedImage result;
    result.natural = natural;
    if (natural.width() > limits.maxSide || natural.height() > limits.maxSide ||
        decodedBytes(natural) > limits.maxDecodedBytes) {
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

QSize withinBudget(QSize pixels, std::int64_t budget) {
    if (decodedBytes(pixels) <= budget) {
        return pixels;
    }
    const double factor =
        std::sqrt(static_cast<double>(budget) / static_cast<double>(decodedBytes(pixels)));
    return {std::max(1, static_cast<int>(pixels.width() * factor)),
            std::max(1, static_cast<int>(pixels.height() * factor))};
}

bool hasPictureSignature(const QByteArray& head) {
    return sniff(head) != Format::Unknown;
}

std::optional<QSize> pictureSize(const QByteArray& head, std::int64_t fileBytes,
                                 std::string& error) {
    switch (sniff(head)) {
        case Format::Jpeg: {
            const QSize stored = jpegStoredSize(head, error);
            if (stored.isEmpty()) {
                return std::nullopt;
            }
            return turnsSideways(jpegOrientation(head)) ? stored.transposed() : stored;
        }
        case Format::Bmp:
            return bmpSize(head, fileBytes, error);
        case Format::Gif:
            return gifSize(head, error);
        case Format::Unknown:
            break;
    }
    error = "not a BMP, JPEG or GIF picture";
    return std::nullopt;
}

qsizetype streamedHeaderLength(const QByteArray& head) {
    switch (sniff(head)) {
        case Format::Jpeg: {
            // A progressive JPEG needs all of its scans at once.
            const qsizetype length = jpegHeaderLength(head);
            return length >= 0 && jpegFrame(head).progressive ? kUnknown : length;
        }
        case Format::Bmp:
            return bmpRowsOffset(head);
        case Format::Gif:
        case Format::Unknown:
            break;
    }
    return kUnknown;
}

namespace {

DecodedImage decode(const QByteArray& bytes, QSize size, DecodeFit fit, const DecodeLimits& limits,
                    const ReadOn& readOn) {
    const Format format = sniff(bytes);
    if (format == Format::Jpeg) {
        return decodeJpeg(bytes, size, fit, limits, readOn);
    }
    if (format == Format::Bmp) {
        if (auto rows = decodeBmpRows(bytes, size, fit, limits, readOn)) {
            return std::move(*rows);
        }
    }
    DecodedImage failed;
    const std::optional<QSize> natural = pictureSize(bytes, bytes.size(), failed.error);
    if (!natural || natural->isEmpty()) {
        if (failed.error.empty()) {
            failed.error = "a picture without pixels";
        }
        return failed;
    }
    // Qt's reader holds a GIF whole at four bytes a pixel: one larger than the
    // budget is decoded a row at a time instead.
    if (format == Format::Gif && decodedBytes(*natural) > limits.maxDecodedBytes) {
        return decodeGifRows(bytes, size, fit, limits);
    }
    return decodeWithQt(bytes, format == Format::Bmp ? "bmp" : "gif", *natural, size, fit, limits);
}

}  // namespace

DecodedImage decodePicture(const QByteArray& bytes, QSize cover, const DecodeLimits& limits,
                           const ReadOn& readOn) {
    return decode(bytes, cover, DecodeFit::Covering, limits, readOn);
}

DecodedImage decodeCoarsely(const QByteArray& bytes, const DecodeLimits& limits,
                            const ReadOn& readOn) {
    return decode(bytes, QSize(1, 1), DecodeFit::Coarsely, limits, readOn);
}

DecodedImage decodePictureAt(const QByteArray& bytes, QSize pixels, const DecodeLimits& limits,
                             const ReadOn& readOn) {
    return decode(bytes, pixels, DecodeFit::Exactly, limits, readOn);
}

}  // namespace glimpa
