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
#include <random>
#include <sstream>
#include <stdexcept>

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

std::string cmykJpegBytes(int width, int height, std::array<unsigned char, 4> ink, bool adobe) {
    // libjpeg itself, which can write plain CMYK: TurboJPEG writes only YCCK
    // with the Adobe marker.
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* encoded = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &encoded, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_CMYK);
    jpeg_set_quality(&info, 100, TRUE);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const unsigned char amount = ink[i % 4];
        row[i] = adobe ? static_cast<unsigned char>(255 - amount) : amount;
    }
    for (int y = 0; y < height; ++y) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(encoded), size);
    std::free(encoded);
    return bytes;
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
std::string bmpHeader(int width, int height, int bits, bool topDown, unsigned tableBytes = 0) {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    std::string out = "BM";
    put32le(out,
            static_cast<unsigned>(54 + tableBytes + rowBytes * static_cast<std::uint64_t>(height)));
    put32le(out, 0);
    put32le(out, 54 + tableBytes);
    put32le(out, 40);
    put32le(out, static_cast<unsigned>(width));
    put32le(out, static_cast<unsigned>(topDown ? -height : height));
    put16le(out, 1);
    put16le(out, static_cast<unsigned>(bits));
    for (int i = 0; i < 6; ++i) {
        put32le(out, i == 4 ? tableBytes / 4 : 0);  // the colours used
    }
    return out;
}

}  // namespace

std::string bmpBytesOf(const QImage& image, int bits, bool topDown) {
    const QImage source = bits == 8 ? image.convertToFormat(QImage::Format_Indexed8)
                                    : image.convertToFormat(QImage::Format_RGB32);
    const auto tableBytes = static_cast<unsigned>(bits == 8 ? source.colorCount() * 4 : 0);
    std::string out = bmpHeader(source.width(), source.height(), bits, topDown, tableBytes);
    for (const QRgb colour : source.colorTable()) {
        put32le(out, colour & 0xFFFFFFU);
    }
    const auto rowBytes = static_cast<std::size_t>((source.width() * bits + 31) / 32 * 4);
    for (int i = 0; i < source.height(); ++i) {
        const int y = topDown ? i : source.height() - 1 - i;
        std::string row;
        for (int x = 0; x < source.width(); ++x) {
            if (bits == 8) {
                row += static_cast<char>(source.pixelIndex(x, y));
                continue;
            }
            const QRgb pixel = source.pixel(x, y);
            row += {static_cast<char>(qBlue(pixel)), static_cast<char>(qGreen(pixel)),
                    static_cast<char>(qRed(pixel))};
            if (bits == 32) {
                row += '\0';
            }
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
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

}  // namespace glimpa::test
