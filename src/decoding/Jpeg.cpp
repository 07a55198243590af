#include "decoding/Jpeg.h"

#include <QColorSpace>
#include <map>
#include <string_view>

#include <turbojpeg.h>

#include <QTransform>
#include <algorithm>
#include <memory>

namespace glimpa {

namespace {

struct TurboHandle {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, TurboHandle>;

unsigned read16(const unsigned char* at, bool bigEndian) {
    return bigEndian ? (at[0] << 8U) | at[1] : (at[1] << 8U) | at[0];
}

unsigned read32(const unsigned char* at, bool bigEndian) {
    return bigEndian ? (read16(at, true) << 16U) | read16(at + 2, true)
                     : (read16(at + 2, false) << 16U) | read16(at, false);
}

int orientationInExif(const unsigned char* tiff, std::size_t length) {
    if (length < 8) {
        return 1;
    }
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I')) {
        return 1;
    }
    const std::size_t ifd = read32(tiff + 4, bigEndian);
    if (ifd + 2 > length) {
        return 1;
    }
    const unsigned entries = read16(tiff + ifd, bigEndian);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (entry + 12 > length) {
            break;
        }
        if (read16(tiff + entry, bigEndian) == 0x0112) {
            const unsigned value = read16(tiff + entry + 8, bigEndian);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

QImage upright(const QImage& image, int orientation) {
    switch (orientation) {
        case 2:
            return image.mirrored(true, false);
        case 3:
            return image.mirrored(true, true);
        case 4:
            return image.mirrored(false, true);
        case 5:
            return image.mirrored(false, true).transformed(QTransform().rotate(90));
        case 6:
            return image.transformed(QTransform().rotate(90));
        case 7:
            return image.mirrored(true, false).transformed(QTransform().rotate(90));
        case 8:
            return image.transformed(QTransform().rotate(270));
        default:
            return image;
    }
}

bool turnsSideways(int orientation) {
    return orientation >= 5;
}

/// Calls visit(marker, payload, length) for each marker segment before the
/// first scan, until it answers false.
template <typename Visit>
void forEachSegment(const QByteArray& bytes, Visit visit) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 2;
    while (at + 4 <= size && data[at] == 0xFF) {
        const unsigned marker = data[at + 1];
        const std::size_t length = (data[at + 2] << 8U) | data[at + 3];
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size) {
            break;
        }
        if (!visit(marker, data + at + 4, length - 2)) {
            break;
        }
        at += 2 + length;
    }
}

bool startsWith(const unsigned char* payload, std::size_t length, std::string_view tag) {
    return length >= tag.size() && std::equal(tag.begin(), tag.end(), payload);
}

/// Photoshop's Adobe marker: its CMYK is stored inverted (255 is no ink).
bool hasAdobeMarker(const QByteArray& bytes) {
    bool found = false;
    forEachSegment(bytes, [&](unsigned marker, const unsigned char* payload, std::size_t length) {
        found = marker == 0xEE && startsWith(payload, length, "Adobe");
        return !found;
    });
    return found;
}

/// The embedded ICC profile, put together from its numbered chunks; empty
/// when there is none or a chunk is missing.
QByteArray iccProfile(const QByteArray& bytes) {
    constexpr std::string_view kTag{"ICC_PROFILE\0", 12};
    std::map<int, QByteArray> chunks;
    int count = 0;
    forEachSegment(bytes, [&](unsigned marker, const unsigned char* payload, std::size_t length) {
        if (marker == 0xE2 && length > kTag.size() + 2 && startsWith(payload, length, kTag)) {
            count = payload[kTag.size() + 1];
            chunks[payload[kTag.size()]] =
                QByteArray(reinterpret_cast<const char*>(payload + kTag.size() + 2),
                           static_cast<qsizetype>(length - kTag.size() - 2));
        }
        return true;
    });
    QByteArray profile;
    for (int chunk = 1; chunk <= count; ++chunk) {
        const auto found = chunks.find(chunk);
        if (found == chunks.end()) {
            return {};
        }
        profile += found->second;
    }
    return profile;
}

/// Turns CMYK pixels, decoded in place into a 32-bit image, into RGB.
void cmykToRgb(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<unsigned char*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, pixel += 4) {
            int c = pixel[0];
            int m = pixel[1];
            int ye = pixel[2];
            int k = pixel[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            // What is left of each light after the ink, as 0 … 255.
            reinterpret_cast<QRgb*>(pixel)[0] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
}

/// The picture in sRGB, as colour-managed viewers show it, when the file
/// names another colour space.
void convertToSrgb(QImage& image, const QByteArray& bytes) {
    const QByteArray profile = iccProfile(bytes);
    if (profile.isEmpty()) {
        return;
    }
    const QColorSpace space = QColorSpace::fromIccProfile(profile);
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        image.setColorSpace(space);
        image.convertToColorSpace(QColorSpace::SRgb);
    }
}

}  // namespace

bool isJpeg(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

int jpegOrientation(const QByteArray& bytes) {
    int orientation = 1;
    forEachSegment(bytes, [&](unsigned marker, const unsigned char* payload, std::size_t length) {
        if (marker == 0xE1 && startsWith(payload, length, std::string_view("Exif\0\0", 6))) {
            orientation = orientationInExif(payload + 6, length - 6);
            return false;
        }
        return true;
    });
    return orientation;
}

JpegFrame jpegFrame(const QByteArray& bytes) {
    JpegFrame frame;
    forEachSegment(bytes, [&](unsigned marker, const unsigned char* payload, std::size_t length) {
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!startOfFrame) {
            return true;
        }
        frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        if (length > 5) {
            frame.components = std::max(1, static_cast<int>(payload[5]));
        }
        return false;
    });
    return frame;
}

int jpegScanCount(const QByteArray& bytes) {
    // In entropy-coded data a 0xFF byte is followed by 0x00 or a restart
    // marker, so every 0xFF 0xDA pair is a start of scan.
    int scans = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == 0xDA) {
            ++scans;
        }
    }
    return scans;
}

QSize jpegStoredSize(const QByteArray& bytes, std::string& error) {
    const Decompressor decompressor(tjInitDecompress());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (!decompressor ||
        tjDecompressHeader3(decompressor.get(),
                            reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                            &colorspace) != 0) {
        error = decompressor ? tjGetErrorStr2(decompressor.get()) : "no JPEG decoder";
        if (error.empty()) {
            error = "damaged JPEG header";
        }
        return {};
    }
    if (width <= 0 || height <= 0) {
        error = "JPEG without pixels";
        return {};
    }
    return {width, height};
}

DecodedImage decodeJpeg(const QByteArray& bytes, QSize cover, const DecodeLimits& limits) {
    DecodedImage result;
    const QSize stored = jpegStoredSize(bytes, result.error);
    if (stored.isEmpty()) {
        return result;
    }
    const int orientation = jpegOrientation(bytes);
    result.natural = turnsSideways(orientation) ? stored.transposed() : stored;
    if (stored.width() > limits.maxSide || stored.height() > limits.maxSide) {
        result.error = "the picture is larger than any picture this program shows";
        return result;
    }
    const JpegFrame frame = jpegFrame(bytes);
    if (frame.progressive) {
        // A progressive picture keeps every coefficient of the whole picture
        // while it decodes, whatever the scale of the result.
        const qint64 coefficients =
            static_cast<qint64>(stored.width()) * stored.height() * frame.components * 2;
        if (coefficients > limits.maxDecodedBytes) {
            result.error = "the picture needs more memory than allowed";
            return result;
        }
        if (jpegScanCount(bytes) > limits.maxProgressiveScans) {
            result.error = "too many scans";
            return result;
        }
    }

    // The smallest power-of-two reduction that still covers what is needed.
    const QSize needed = turnsSideways(orientation) ? cover.transposed() : cover;
    int denominator = 1;
    if (!needed.isEmpty()) {
        for (int candidate : {8, 4, 2}) {
            const tjscalingfactor factor{1, candidate};
            if (TJSCALED(stored.width(), factor) >= needed.width() &&
                TJSCALED(stored.height(), factor) >= needed.height()) {
                denominator = candidate;
                break;
            }
        }
    }
    // A photo larger than the budget is shown from a reduced decode.
    auto bytesAt = [&](int by) {
        const tjscalingfactor factor{1, by};
        return static_cast<qint64>(TJSCALED(stored.width(), factor)) *
               TJSCALED(stored.height(), factor) * 4;
    };
    while (denominator < 8 && bytesAt(denominator) > limits.maxDecodedBytes) {
        denominator *= 2;
    }
    const tjscalingfactor factor{1, denominator};
    const int width = TJSCALED(stored.width(), factor);
    const int height = TJSCALED(stored.height(), factor);
    if (static_cast<qint64>(width) * height * 4 > limits.maxDecodedBytes) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        result.error = "out of memory";
        return result;
    }
    // Four components are CMYK (or YCCK), decoded as such and turned into RGB.
    const bool cmyk = frame.components == 4;
    const Decompressor decompressor(tjInitDecompress());
    if (tjDecompress2(decompressor.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<unsigned long>(bytes.size()), image.bits(), width,
                      static_cast<int>(image.bytesPerLine()), height, cmyk ? TJPF_CMYK : TJPF_BGRX,
                      TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
        result.error = tjGetErrorStr2(decompressor.get());
        if (result.error.empty()) {
            result.error = "damaged JPEG data";
        }
        return result;
    }
    if (cmyk) {
        cmykToRgb(image, hasAdobeMarker(bytes));
    } else {
        convertToSrgb(image, bytes);
    }
    result.image = upright(image, orientation);
    return result;
}

}  // namespace glimpa
