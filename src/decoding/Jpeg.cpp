#include "decoding/Jpeg.h"

#include <QColorSpace>
#include <QTransform>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include <jpeglib.h>

#include "decoding/RowShrinker.h"

namespace glimpa {

namespace {

/// libjpeg's failures, and its warnings too (damaged data), each of which ends
/// the work with its message by a long jump.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX]{};
};

[[noreturn]] void failWithMessage(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void failOnWarning(j_common_ptr info, int level) {
    if (level < 0) {
        failWithMessage(info);
    }
}

/// Runs `steps` on a decompressor reading `bytes` and answers their error, or
/// libjpeg's when it failed or warned (empty: all went well). libjpeg leaves
/// `steps` by a long jump: it must not hold anything that needs destroying
/// while it calls libjpeg.
template <typename Steps>
std::string withDecompressor(const QByteArray& bytes, Steps steps) {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failWithMessage;
    errors.manager.emit_message = failOnWarning;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return errors.message[0] != '\0' ? errors.message : "damaged JPEG data";
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    std::string error = steps(info);
    jpeg_destroy_decompress(&info);
    return error;
}

/// The size of a decode at 1/denominator, as libjpeg rounds it.
int scaledSide(int side, int denominator) {
    return (side + denominator - 1) / denominator;
}

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

/// Turns a row of CMYK pixels into RGB, in place. Photoshop (its Adobe
/// marker) stores CMYK inverted: 255 is no ink.
void cmykToRgb(QRgb* row, int width, bool inverted) {
    auto* pixel = reinterpret_cast<unsigned char*>(row);
    for (int x = 0; x < width; ++x, pixel += 4) {
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
        row[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
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
    QSize stored;
    error = withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        jpeg_read_header(&info, TRUE);
        stored = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
        return std::string();
    });
    if (error.empty() && stored.isEmpty()) {
        error = "JPEG without pixels";
    }
    return error.empty() ? stored : QSize();
}

DecodedImage decodeJpeg(const QByteArray& bytes, QSize size, DecodeFit fit,
                        const DecodeLimits& limits) {
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
    const QSize needed = turnsSideways(orientation) ? size.transposed() : size;
    const auto scaled = [&](int denominator) {
        return QSize(scaledSide(stored.width(), denominator),
                     scaledSide(stored.height(), denominator));
    };
    int denominator = 1;
    if (!needed.isEmpty()) {
        for (int candidate : {8, 4, 2}) {
            if (scaled(candidate).width() >= needed.width() &&
                scaled(candidate).height() >= needed.height()) {
                denominator = candidate;
                break;
            }
        }
    }
    // A photo larger than the budget is shown from a reduced decode.
    const auto bytesOf = [](QSize pixels) {
        return static_cast<qint64>(pixels.width()) * pixels.height() * 4;
    };
    while (denominator < 8 && bytesOf(scaled(denominator)) > limits.maxDecodedBytes) {
        denominator *= 2;
    }
    const QSize decoded = scaled(denominator);
    // Shrunk further while it decodes, when exactly a smaller size is wanted.
    const bool shrink = fit == DecodeFit::Exactly && !needed.isEmpty() &&
                        needed.width() <= decoded.width() && needed.height() <= decoded.height() &&
                        needed != decoded;
    const QSize target = shrink ? needed : decoded;
    if (bytesOf(target) > limits.maxDecodedBytes) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }
    QImage image(target, QImage::Format_RGB32);
    if (image.isNull()) {
        result.error = "out of memory";
        return result;
    }
    std::optional<RowShrinker> shrinker;
    std::vector<QRgb> row;
    if (shrink) {
        shrinker.emplace(decoded.width(), decoded.height(), image);
        row.resize(static_cast<std::size_t>(decoded.width()));
    }
    bool cmyk = false;
    result.error = withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        jpeg_read_header(&info, TRUE);
        info.scale_num = 1;
        info.scale_denom = static_cast<unsigned>(denominator);
        // CMYK (or YCCK) is decoded as such and turned into RGB row by row.
        cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        jpeg_start_decompress(&info);
        if (QSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height)) !=
            decoded) {
            return std::string("the picture does not match its header");
        }
        while (info.output_scanline < info.output_height) {
            QRgb* into = shrinker ? row.data()
                                  : reinterpret_cast<QRgb*>(
                                        image.scanLine(static_cast<int>(info.output_scanline)));
            auto* samples = reinterpret_cast<JSAMPROW>(into);
            jpeg_read_scanlines(&info, &samples, 1);
            if (cmyk) {
                cmykToRgb(into, decoded.width(), info.saw_Adobe_marker != 0);
            }
            if (shrinker) {
                shrinker->add(into);
            }
        }
        jpeg_finish_decompress(&info);
        return std::string();
    });
    if (!result.error.empty()) {
        return result;
    }
    if (!cmyk) {
        convertToSrgb(image, bytes);
    }
    result.image = upright(image, orientation);
    return result;
}

}  // namespace glimpa
