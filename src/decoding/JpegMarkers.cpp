#include "decoding/JpegMarkers.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace glimpa {

namespace {

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

}  // namespace

QByteArray jpegIccProfile(const QByteArray& bytes) {
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

qsizetype jpegHeaderLength(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 2;
    while (at + 4 <= size) {
        const unsigned marker = data[at + 1];
        if (data[at] != 0xFF || marker == 0xFF || marker == 0xD9) {
            return kUnknown;  // fill bytes or an end before any scan: left to libjpeg
        }
        const std::size_t length = (data[at + 2] << 8U) | data[at + 3];
        if (length < 2) {
            return kUnknown;
        }
        if (at + 2 + length > size) {
            return kMore;
        }
        at += 2 + length;
        if (marker == 0xDA) {
            return static_cast<qsizetype>(at);
        }
    }
    return kMore;
}

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
    forEachSegment(bytes, [&](unsigned marker, const unsigned char* /*payload*/,
                              std::size_t /*length*/) {
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!startOfFrame) {
            return true;
        }
        frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
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

}  // namespace glimpa
