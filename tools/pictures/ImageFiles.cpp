#include "pictures/ImageFiles.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace glimpa::test {

namespace {

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb(255 * x / std::max(1, width - 1), 255 * y / std::max(1, height - 1),
                                (x * y) % 256));
        }
    }
    return image;
}

void put16le(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void put32le(std::string& out, unsigned value) {
    put16le(out, value & 0xffff);
    put16le(out, value >> 16);
}

// The orientation tag as an APP1 segment: "Exif", a big-endian TIFF header and
// one IFD entry (tag 0x0112, SHORT, count 1).
std::string exifSegment(int orientation) {
    std::string tiff("MM\0*\0\0\0\x08", 8);
    tiff += std::string("\0\x01", 2);
    tiff += std::string("\x01\x12\0\x03\0\0\0\x01", 8);
    tiff += static_cast<char>(0);
    tiff += static_cast<char>(orientation);
    tiff += std::string(2, '\0');
    tiff += std::string(4, '\0');
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const auto length = static_cast<unsigned>(body.size() + 2);
    std::string segment("\xff\xe1", 2);
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xff);
    return segment + body;
}

}  // namespace

/// Smooth colour fields with textured patches and fine grain, as in a photo.
QImage photoLike(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double fy = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width;
            unsigned hash = static_cast<unsigned>(x) * 374761393U +
                            static_cast<unsigned>(y) * 668265263U + seed;
            hash = (hash ^ (hash >> 13U)) * 1274126177U;
            const bool textured = std::sin(fx * 40) * std::sin(fy * 30) > 0.3;
            const int grain =
                static_cast<int>((hash >> 24U) & (textured ? 63U : 7U)) - (textured ? 32 : 4);
            auto channel = [grain](double value) {
                return std::clamp(static_cast<int>(value) + grain, 0, 255);
            };
            line[x] = qRgb(channel(128 + 100 * std::sin(fx * 3.1 + fy * 1.7)),
                           channel(128 + 90 * std::sin(fx * 2.3 - fy * 2.9 + 1)),
                           channel(128 + 80 * std::cos(fx * 1.1 + fy * 3.7)));
        }
    }
    return image;
}

void writePhotoJpeg(const std::filesystem::path& path, int width, int height, bool progressive,
                    int orientation) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(photoLike(width, height, 7))) {
        throw std::runtime_error("cannot encode JPEG");
    }
    std::string bytes = encoded.toStdString();
    if (orientation != 0) {
        bytes.insert(2, exifSegment(orientation));
    }
    writeBytes(path, bytes);
}

namespace {

/// A JPEG written by libjpeg itself into memory: `set` chooses how once the
/// defaults for these pixels are in, `row` gives each row of pixels.
std::string libjpegBytes(int width, int height, int components, J_COLOR_SPACE space,
                         const std::function<void(jpeg_compress_struct&)>& set,
                         const std::function<JSAMPROW(int)>& row) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* encoded = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &encoded, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    set(info);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW line = row(y);
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(encoded), size);
    std::free(encoded);
    return bytes;
}

}  // namespace

std::string cmykJpegBytes(int width, int height, std::array<unsigned char, 4> ink, bool adobe) {
    // libjpeg itself, which can write plain CMYK: TurboJPEG writes only YCCK
    // with the Adobe marker.
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const unsigned char amount = ink[i % 4];
        row[i] = adobe ? static_cast<unsigned char>(255 - amount) : amount;
    }
    return libjpegBytes(
        width, height, 4, JCS_CMYK,
        [adobe](jpeg_compress_struct& info) {
            jpeg_set_colorspace(&info, JCS_CMYK);
            jpeg_set_quality(&info, 100, TRUE);
            info.write_Adobe_marker = adobe ? TRUE : FALSE;
        },
        [&row](int) { return row.data(); });
}

std::string componentWiseProgressiveJpegBytes(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return libjpegBytes(
        rgb.width(), rgb.height(), 3, JCS_RGB,
        [](jpeg_compress_struct& info) {
            jpeg_set_quality(&info, 90, TRUE);
            // Brightness: averages, then the rest; then each colour the same way.
            static const jpeg_scan_info kScans[] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0},
                                                    {1, {1}, 0, 0, 0, 0}, {1, {1}, 1, 63, 0, 0},
                                                    {1, {2}, 0, 0, 0, 0}, {1, {2}, 1, 63, 0, 0}};
            info.scan_info = kScans;
            info.num_scans = 6;
        },
        [&rgb](int y) { return const_cast<JSAMPROW>(rgb.constScanLine(y)); });
}

void writeLargeJpeg(const std::filesystem::path& path, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* pixel = &row[static_cast<std::size_t>(x) * 3];
            pixel[0] = static_cast<unsigned char>(x * 255 / width);
            pixel[1] = static_cast<unsigned char>(y * 255 / height);
            pixel[2] = static_cast<unsigned char>(((x + y) / 8) & 0xff);
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

namespace {

/// The 54 bytes of a BMP's headers, for rows of `bits` a pixel padded to four
/// bytes each, after `tableBytes` of colour table; top-down rows are told by a
/// negative height.
std::string bmpHeader(int width, int height, int bits, bool topDown, unsigned tableBytes = 0,
                      unsigned compression = 0, std::uint64_t pixelBytes = 0) {
    if (pixelBytes == 0) {
        pixelBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4 *
                     static_cast<std::uint64_t>(height);
    }
    std::string out = "BM";
    put32le(out, static_cast<unsigned>(54 + tableBytes + pixelBytes));
    put32le(out, 0);
    put32le(out, 54 + tableBytes);
    put32le(out, 40);
    put32le(out, static_cast<unsigned>(width));
    put32le(out, static_cast<unsigned>(topDown ? -height : height));
    put16le(out, 1);
    put16le(out, static_cast<unsigned>(bits));
    put32le(out, compression);
    for (int i = 0; i < 5; ++i) {
        put32le(out, i == 3 && compression != 3 ? tableBytes / 4 : 0);  // the colours used
    }
    return out;
}

/// A row of colour indices run-length coded, 8 or 4 bits an index: runs of
/// one index, and the rest as it is, then the end of the row.
std::string runLengthRow(const std::vector<int>& row, int bits) {
    std::string out;
    const auto size = row.size();
    auto runFrom = [&](std::size_t x) {
        std::size_t end = x;
        while (end < size && end - x < 255 && row[end] == row[x]) {
            ++end;
        }
        return end - x;
    };
    std::size_t x = 0;
    while (x < size) {
        if (const std::size_t run = runFrom(x); run >= 2) {
            out += {static_cast<char>(run), static_cast<char>(bits == 4 ? row[x] * 17 : row[x])};
            x += run;
            continue;
        }
        std::size_t end = x;
        while (end < size && end - x < 255 && runFrom(end) < 2) {
            ++end;
        }
        if (end - x < 3) {  // too short to be written as it is
            out += {1, static_cast<char>(bits == 4 ? row[x] * 17 : row[x])};
            ++x;
            continue;
        }
        std::string literal;
        for (std::size_t i = x; i < end; i += bits == 4 ? 2 : 1) {
            literal += static_cast<char>(bits == 4 ? (row[i] << 4) | (i + 1 < end ? row[i + 1] : 0)
                                                   : row[i]);
        }
        literal.resize((literal.size() + 1) & ~std::size_t{1}, '\0');
        out += {0, static_cast<char>(end - x)};
        out += literal;
        x = end;
    }
    out += {0, 0};
    return out;
}

}  // namespace

std::string bmpBytesOf(const QImage& image, int bits, bool topDown, BmpCoding coding) {
    const bool indexed = bits <= 8;
    QImage source = image.convertToFormat(QImage::Format_RGB32);
    if (bits == 8) {
        source = image.convertToFormat(QImage::Format_Indexed8);
    } else if (indexed) {
        QList<QRgb> table;
        for (int i = 0; i < (1 << bits); ++i) {
            const int level = i * 255 / ((1 << bits) - 1);
            table.append(qRgb(level, 128, 255 - level));
        }
        source = image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    }
    const bool runs = coding == BmpCoding::RunLength;
    const bool masks = coding == BmpCoding::Bitfields;
    std::string pixels;
    for (int i = 0; i < source.height(); ++i) {
        const int y = topDown ? i : source.height() - 1 - i;
        std::vector<int> indices;
        std::string row;
        unsigned byte = 0;
        for (int x = 0; x < source.width(); ++x) {
            if (indexed) {
                indices.push_back(source.pixelIndex(x, y));
                byte =
                    (byte << static_cast<unsigned>(bits)) | static_cast<unsigned>(indices.back());
                if ((x + 1) * bits % 8 == 0) {
                    row += static_cast<char>(byte);
                    byte = 0;
                }
                continue;
            }
            const QRgb pixel = source.pixel(x, y);
            if (bits == 16) {  // 5-5-5, or 5-6-5 with masks
                const unsigned value =
                    masks
                        ? (qRed(pixel) >> 3) << 11 | (qGreen(pixel) >> 2) << 5 | qBlue(pixel) >> 3
                        : (qRed(pixel) >> 3) << 10 | (qGreen(pixel) >> 3) << 5 | qBlue(pixel) >> 3;
                put16le(row, value);
                continue;
            }
            row += {static_cast<char>(qBlue(pixel)), static_cast<char>(qGreen(pixel)),
                    static_cast<char>(qRed(pixel))};
            if (bits == 32) {
                row += '\0';
            }
        }
        if (source.width() * bits % 8 != 0) {
            row += static_cast<char>(byte << static_cast<unsigned>(8 - source.width() * bits % 8));
        }
        if (runs) {
            pixels += runLengthRow(indices, bits);
        } else {
            row.resize(static_cast<std::size_t>((source.width() * bits + 31) / 32 * 4), '\0');
            pixels += row;
        }
    }
    if (runs) {
        pixels += {0, 1};
    }
    std::string table;
    for (const QRgb colour : source.colorTable()) {
        put32le(table, colour & 0xFFFFFFU);
    }
    if (masks) {
        for (const unsigned mask : bits == 16 ? std::array{0xF800U, 0x07E0U, 0x001FU}
                                              : std::array{0xFF0000U, 0xFF00U, 0xFFU}) {
            put32le(table, mask);
        }
    }
    const unsigned compression = masks ? 3 : runs ? (bits == 8 ? 1 : 2) : 0;
    return bmpHeader(source.width(), source.height(), bits, topDown,
                     static_cast<unsigned>(table.size()), compression, pixels.size()) +
           table + pixels;
}

void writeBmp(const std::filesystem::path& path, int width, int height) {
    writeBytes(path, bmpBytesOf(gradient(width, height), 24, false));
}

void writeHollowBmp(const std::filesystem::path& path, int width, int height) {
    writeBytes(path, bmpHeader(width, height, 24, false));
    std::filesystem::resize_file(
        path, 54 + ((static_cast<std::uintmax_t>(width) * 3 + 3) & ~std::uintmax_t{3}) *
                       static_cast<std::uintmax_t>(height));
}

std::string jpegBytesOf(const QImage& image) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    if (!writer.write(image)) {
        throw std::runtime_error("cannot encode JPEG");
    }
    return encoded.toStdString();
}

void writeJpeg(const std::filesystem::path& path, int width, int height, int orientation) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    if (!writer.write(gradient(width, height))) {
        throw std::runtime_error("cannot encode JPEG");
    }
    std::string bytes = encoded.toStdString();
    if (orientation != 0) {
        bytes.insert(2, exifSegment(orientation));
    }
    writeBytes(path, bytes);
}

void writeGif(const std::filesystem::path& path, int width, int height, int frames) {
    // 8-bit codes with a clear code before every 254 pixels keep the LZW code
    // width at 9 bits without building a dictionary.
    std::string out = "GIF89a";
    put16le(out, static_cast<unsigned>(width));
    put16le(out, static_cast<unsigned>(height));
    out += static_cast<char>(0xf7);  // global colour table of 256 entries
    out += '\0';
    out += '\0';
    for (int i = 0; i < 256; ++i) {
        out += static_cast<char>(i);
        out += static_cast<char>(255 - i);
        out += static_cast<char>((i * 7) % 256);
    }
    for (int frame = 0; frame < frames; ++frame) {
        out += std::string("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);
        out += ',';
        put32le(out, 0);
        put16le(out, static_cast<unsigned>(width));
        put16le(out, static_cast<unsigned>(height));
        out += '\0';
        out += static_cast<char>(8);
        std::string data;
        unsigned long bits = 0;
        int bitCount = 0;
        auto putCode = [&](unsigned code) {
            bits |= static_cast<unsigned long>(code) << bitCount;
            bitCount += 9;
            while (bitCount >= 8) {
                data += static_cast<char>(bits & 0xff);
                bits >>= 8;
                bitCount -= 8;
            }
        };
        const int pixels = width * height;
        for (int i = 0; i < pixels; ++i) {
            if (i % 254 == 0) {
                putCode(256);
            }
            putCode(static_cast<unsigned>((i % width + i / width + frame * 40) % 256));
        }
        putCode(257);
        if (bitCount > 0) {
            data += static_cast<char>(bits & 0xff);
        }
        for (std::size_t at = 0; at < data.size(); at += 255) {
            const std::string block = data.substr(at, 255);
            out += static_cast<char>(block.size());
            out += block;
        }
        out += '\0';
    }
    out += ';';
    writeBytes(path, out);
}

std::string gifBytesOf(const QImage& image, const GifLayout& layout) {
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    const QSize screen = layout.screen.isEmpty() ? indexed.size() : layout.screen;
    std::string out = "GIF89a";
    put16le(out, static_cast<unsigned>(screen.width()));
    put16le(out, static_cast<unsigned>(screen.height()));
    out += {static_cast<char>(0xf7), 1, 0};  // 256 colours, the background the second
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : qRgb(i, 0, 255 - i);
        out += {static_cast<char>(qRed(colour)), static_cast<char>(qGreen(colour)),
                static_cast<char>(qBlue(colour))};
    }
    out += std::string("\x21\xf9\x04", 3);
    out += {layout.transparency ? '\x01' : '\0', 0, 0, 0, 0};
    out += ',';
    put16le(out, static_cast<unsigned>(layout.at.x()));
    put16le(out, static_cast<unsigned>(layout.at.y()));
    put16le(out, static_cast<unsigned>(indexed.width()));
    put16le(out, static_cast<unsigned>(indexed.height()));
    out += layout.interlaced ? '\x40' : '\0';
    out += '\x08';
    // The indices in the order they are stored: by rows, or by the passes
    // of an interlaced picture.
    std::vector<int> rows;
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = layout.interlaced ? start : 0; y < indexed.height();
             y += layout.interlaced ? step : 1) {
            rows.push_back(y);
        }
        if (!layout.interlaced) {
            break;
        }
    }
    // LZW: the code width follows the table that a reader builds, one code
    // behind the writer's.
    std::string data;
    std::uint32_t bits = 0;
    int bitCount = 0;
    int width = 9;
    int readerNext = 258;
    bool readerFirst = true;
    auto writeCode = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << static_cast<unsigned>(bitCount);
        for (bitCount += width; bitCount >= 8; bitCount -= 8, bits >>= 8U) {
            data += static_cast<char>(bits & 0xffU);
        }
        if (code == 256) {
            width = 9;
            readerNext = 258;
            readerFirst = true;
        } else if (code != 257 && !std::exchange(readerFirst, false) && readerNext < 4096 &&
                   ++readerNext == 1 << width && width < 12) {
            ++width;
        }
    };
    std::map<int, int> table;
    int next = 258;
    int prefix = -1;
    writeCode(256);
    for (const int y : rows) {
        for (int x = 0; x < indexed.width(); ++x) {
            const int index = indexed.pixelIndex(x, y);
            if (prefix < 0) {
                prefix = index;
            } else if (const auto found = table.find(prefix * 256 + index); found != table.end()) {
                prefix = found->second;
            } else {
                writeCode(prefix);
                table[prefix * 256 + index] = next++;
                prefix = index;
                if (next == 4096) {
                    writeCode(256);
                    table.clear();
                    next = 258;
                }
            }
        }
    }
    writeCode(prefix);
    writeCode(257);
    if (bitCount > 0) {
        data += static_cast<char>(bits & 0xffU);
    }
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += {0, ';'};
    return out;
}

}  // namespace glimpa::test
