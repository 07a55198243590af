#pragma once

#include <QImage>
#include <array>
#include <filesystem>
#include <string>

#include "pictures/Files.h"

namespace glimpa::test {

/// Real picture files for tests, with photo-like gradients so that scaling and
/// orientation can be told apart.
void writeBmp(const std::filesystem::path& path, int width, int height);
/// How a BMP's pixels are stored: as they are, run-length coded (4 and 8
/// bits), or through colour masks (16 bits as 5-6-5, and 32).
enum class BmpCoding { Plain, RunLength, Bitfields };
/// An image as a BMP of 1, 4, 8 (with a colour table), 16, 24 or 32 bits a
/// pixel, its rows stored bottom-up as most are, or top-down; 16 bits plain
/// are 5-5-5.
std::string bmpBytesOf(const QImage& image, int bits, bool topDown,
                       BmpCoding coding = BmpCoding::Plain);
/// A 24-bit BMP of any size whose rows are a hole in the file (read as
/// black): no time or disk taken to make it.
void writeHollowBmp(const std::filesystem::path& path, int width, int height);
/// An image as a JPEG at quality 100, with its colour space as an ICC profile.
std::string jpegBytesOf(const QImage& image);
/// A baseline JPEG; orientation 1 … 8 adds an EXIF orientation tag.
void writeJpeg(const std::filesystem::path& path, int width, int height, int orientation = 0);
/// A GIF with the given number of frames, each the full size.
void writeGif(const std::filesystem::path& path, int width, int height, int frames = 1);
/// How gifBytesOf writes a picture: interlaced, with its first colour
/// transparent, placed at `at` on a screen larger than itself (its second
/// colour the screen's background).
struct GifLayout {
    bool interlaced = false;
    bool transparency = false;
    QSize screen;
    QPoint at;
};
/// An image of at most 256 colours as a GIF, its pixels LZW coded.
std::string gifBytesOf(const QImage& image, const GifLayout& layout = {});
/// Smooth colour fields with textured patches and fine grain, as in a photo.
QImage photoLike(int width, int height, unsigned seed);
/// A JPEG of one CMYK colour (ink amounts, 255 full), stored inverted with
/// Photoshop's Adobe marker as most CMYK JPEGs are, or plain without it.
std::string cmykJpegBytes(int width, int height, std::array<unsigned char, 4> ink, bool adobe);
/// A progressive JPEG of the picture whose scans take one colour component at
/// a time, each component's block averages first: the colours come only
/// after the brightness.
std::string componentWiseProgressiveJpegBytes(const QImage& image);
/// A JPEG of any size written a row at a time, so that making it takes
/// little memory: smooth colour ramps.
void writeLargeJpeg(const std::filesystem::path& path, int width, int height);
/// A photo-like JPEG at quality 90, baseline or progressive.
void writePhotoJpeg(const std::filesystem::path& path, int width, int height,
                    bool progressive = false, int orientation = 0);
}  // namespace glimpa::test
