#include "pictures/BadFiles.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <random>

#include "pictures/ImageFiles.h"

namespace glimpa::test {

namespace {

std::string jpegBytes(int width, int height, bool progressive) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x ^ y) % 256));
        }
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return encoded.toStdString();
}

std::string fileBytes(void (*write)(const std::filesystem::path&, int, int, int), int w, int h,
                      int extra) {
    TempFolder folder;
    write(folder.path() / "x", w, h, extra);
    return readBytes(folder.path() / "x");
}

std::string bmpBytes(int width, int height) {
    return fileBytes([](const std::filesystem::path& p, int w, int h, int) { writeBmp(p, w, h); },
                     width, height, 0);
}

std::string gifBytes(int width, int height, int frames) {
    return fileBytes(
        [](const std::filesystem::path& p, int w, int h, int f) { writeGif(p, w, h, f); }, width,
        height, frames);
}

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() & 0xFFU);
    }
    return bytes;
}

void put16be(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value >> 8U);
    bytes[at + 1] = static_cast<char>(value & 0xFFU);
}

void put16le(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value & 0xFFU);
    bytes[at + 1] = static_cast<char>(value >> 8U);
}

void put32le(std::string& bytes, std::size_t at, std::uint32_t value) {
    put16le(bytes, at, value & 0xFFFFU);
    put16le(bytes, at + 2, value >> 16U);
}

/// Where the frame header's height field of a JPEG lies.
std::size_t sofHeight(const std::string& jpeg) {
    for (std::size_t at = 2; at + 4 < jpeg.size();) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            return at + 5;
        }
        at += 2 + ((static_cast<unsigned char>(jpeg[at + 2]) << 8U) |
                   static_cast<unsigned char>(jpeg[at + 3]));
    }
    return 0;
}

std::size_t firstScanData(const std::string& jpeg) {
    const auto sos = jpeg.find("\xff\xda");
    return sos + 2 +
           ((static_cast<unsigned char>(jpeg[sos + 2]) << 8U) |
            static_cast<unsigned char>(jpeg[sos + 3]));
}

std::string flipBits(std::string bytes, std::size_t from, std::size_t to, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = from + random() % std::max<std::size_t>(1, to - from);
        bytes[at] = static_cast<char>(bytes[at] ^ (1U << (random() % 8)));
    }
    return bytes;
}

}  // namespace

std::vector<BadFile> badPictureFiles() {
    std::vector<BadFile> files;
    auto add = [&](std::string category, std::string name, std::string bytes, Expect expect) {
        files.push_back({std::move(category), std::move(name), std::move(bytes), expect});
    };
    const std::string jpeg = jpegBytes(64, 48, false);
    const std::string progressive = jpegBytes(64, 48, true);
    const std::string bmp = bmpBytes(40, 30);
    const std::string gif = gifBytes(40, 30, 1);

    add("zero-byte", "empty.jpg", "", Expect::Failure);
    for (unsigned seed : {1U, 2U, 3U}) {
        add("random bytes", "random" + std::to_string(seed) + ".jpg", randomBytes(4096, seed),
            Expect::Failure);
    }
    add("random bytes", "random-after-jpeg-marker.jpg", "\xff\xd8\xff" + randomBytes(4096, 9),
        Expect::Failure);
    add("wrong content", "text.jpg", "This is not a picture.\n", Expect::Failure);
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
        add("wrong content", "png-named.gif", png.toStdString(), Expect::Failure);
    }
    for (double part : {0.1, 0.5, 0.9}) {
        const auto keep = static_cast<std::size_t>(static_cast<double>(jpeg.size()) * part);
        add("truncated JPEG", "cut" + std::to_string(keep) + ".jpg", jpeg.substr(0, keep),
            Expect::Failure);
        const auto keepProgressive =
            static_cast<std::size_t>(static_cast<double>(progressive.size()) * part);
        add("truncated progressive JPEG", "pcut" + std::to_string(keepProgressive) + ".jpg",
            progressive.substr(0, keepProgressive), Expect::Failure);
    }
    {
        // Junk between two segments of the header, which some writers leave:
        // skipped by every reader, with a warning.
        std::string junk = jpeg;
        junk.insert(junk.find("\xff\xdb"), "\x00\x12");
        add("junk between JPEG segments", "junk-before-tables.jpg", junk, Expect::Picture);
        // Whole but for its end marker, as some cameras leave it.
        add("JPEG without its end marker", "no-end-marker.jpg", jpeg.substr(0, jpeg.size() - 2),
            Expect::Picture);
        add("JPEG without its end marker", "no-end-marker-progressive.jpg",
            progressive.substr(0, progressive.size() - 2), Expect::Picture);
    }
    add("truncated BMP", "cut-header.bmp", bmp.substr(0, 20), Expect::Failure);
    add("truncated BMP", "cut-rows.bmp", bmp.substr(0, bmp.size() - 100), Expect::Failure);
    {
        // Whole but for its last row's padding, which some writers leave out.
        const std::string padded = bmpBytes(39, 30);
        add("BMP without its last padding", "no-last-padding.bmp",
            padded.substr(0, padded.size() - 3), Expect::Picture);
    }
    add("truncated GIF", "cut-header.gif", gif.substr(0, 10), Expect::Failure);
    add("truncated GIF", "cut-data.gif", gif.substr(0, gif.size() / 2), Expect::Failure);
    // Whole but for its last byte: some writers leave the trailer out.
    add("GIF without its trailer", "no-trailer.gif", gif.substr(0, gif.size() - 1),
        Expect::Picture);

    for (unsigned seed : {11U, 12U, 13U}) {
        add("header bit flips", "flip-jpeg-header" + std::to_string(seed) + ".jpg",
            flipBits(jpeg, 2, firstScanData(jpeg), seed), Expect::EitherOutcome);
        add("header bit flips", "flip-bmp-header" + std::to_string(seed) + ".bmp",
            flipBits(bmp, 2, 54, seed), Expect::EitherOutcome);
        add("header bit flips", "flip-gif-header" + std::to_string(seed) + ".gif",
            flipBits(gif, 6, 13 + 768, seed), Expect::EitherOutcome);
        add("data bit flips", "flip-jpeg-data" + std::to_string(seed) + ".jpg",
            flipBits(jpeg, firstScanData(jpeg), jpeg.size() - 2, seed), Expect::EitherOutcome);
        add("data bit flips", "flip-progressive-data" + std::to_string(seed) + ".jpg",
            flipBits(progressive, firstScanData(progressive), progressive.size() - 2, seed),
            Expect::EitherOutcome);
    }

    {
        std::string zero = jpeg;
        put16be(zero, sofHeight(zero), 0);
        put16be(zero, sofHeight(zero) + 2, 0);
        add("lying dimensions", "zero-by-zero.jpg", zero, Expect::Failure);
        std::string huge = jpeg;
        put16be(huge, sofHeight(huge), 65535);
        put16be(huge, sofHeight(huge) + 2, 65535);
        add("lying dimensions", "65535-squared.jpg", huge, Expect::Failure);
        std::string bomb = progressive;
        put16be(bomb, sofHeight(bomb), 40000);
        put16be(bomb, sofHeight(bomb) + 2, 40000);
        add("lying dimensions", "40000-squared-progressive.jpg", bomb, Expect::Failure);
    }
    {
        // Ten thousand empty DC refinement scans before the end.
        std::string scans = progressive.substr(0, progressive.size() - 2);
        const std::string emptyScan("\xff\xda\x00\x08\x01\x01\x00\x00\x00\x10", 10);
        for (int i = 0; i < 10000; ++i) {
            scans += emptyScan;
        }
        add("scan bomb", "scan-bomb.jpg", scans + "\xff\xd9", Expect::Failure);
    }

    {
        std::string negative = bmp;
        put32le(negative, 18, static_cast<std::uint32_t>(-40));
        add("lying BMP header", "negative-width.bmp", negative, Expect::Failure);
        std::string huge = bmp;
        put32le(huge, 18, 1000000);
        put32le(huge, 22, 1000000);
        add("lying BMP header", "huge.bmp", huge, Expect::Failure);
        std::string depth = bmp;
        put16le(depth, 28, 7);
        add("lying BMP header", "bit-depth-7.bmp", depth, Expect::Failure);
        std::string offset = bmp;
        put32le(offset, 10, 0x7FFFFFF0);
        add("lying BMP header", "offset-past-end.bmp", offset, Expect::Failure);
        // An 8-bit RLE picture whose runs write far past its rows.
        std::string rle = bmp.substr(0, 54);
        put16le(rle, 28, 8);
        put32le(rle, 30, 1);
        put32le(rle, 46, 2);
        rle += std::string(8, '\0');
        put32le(rle, 10, static_cast<std::uint32_t>(rle.size()));
        std::string runs;
        for (int i = 0; i < 200; ++i) {
            runs += std::string("\xff\x01", 2);
        }
        runs += std::string("\x00\x02\xff\xff", 4);  // a delta far outside
        runs += std::string("\x00\x01", 2);
        add("lying BMP header", "rle-overflow.bmp", rle + runs, Expect::EitherOutcome);
    }

    {
        // An 8-bit picture with two palette entries and pixels that use the
        // 200th: drawing it must not read past the palette.
        std::string palette = bmp.substr(0, 54);
        put32le(palette, 18, 16);
        put32le(palette, 22, 8);
        put16le(palette, 28, 8);
        put32le(palette, 46, 2);
        palette += std::string(8, '\x7f');
        put32le(palette, 10, static_cast<std::uint32_t>(palette.size()));
        palette += std::string(16 * 8, '\xc8');
        add("BMP palette shorter than its pixels", "short-palette.bmp", palette,
            Expect::EitherOutcome);
    }
    {
        // The test pictures' GIF: header, 256-colour table, one control
        // extension, then the image descriptor.
        const std::size_t descriptorAt = 13 + 768 + 8;
        const std::size_t codeSizeAt = descriptorAt + 10;
        for (int codeSize : {12, 255}) {
            std::string bad = gif;
            bad[codeSizeAt] = static_cast<char>(codeSize);
            add("GIF LZW faults", "code-size-" + std::to_string(codeSize) + ".gif", bad,
                Expect::Failure);
        }
        std::string codes = gif;
        const std::string noise = randomBytes(codes.size(), 21);
        for (std::size_t at = codeSizeAt + 2; at + 2 < codes.size(); ++at) {
            if ((at - codeSizeAt - 1) % 256 != 0) {
                codes[at] = noise[at];
            }
        }
        add("GIF LZW faults", "random-codes.gif", codes, Expect::EitherOutcome);

        std::string outside = gif;
        put16le(outside, descriptorAt + 1, 30000);
        add("GIF geometry faults", "image-outside-screen.gif", outside, Expect::EitherOutcome);
        // Shown as large as its picture, as other viewers show it.
        std::string noScreen = gif;
        put16le(noScreen, 6, 0);
        put16le(noScreen, 8, 0);
        add("GIF geometry faults", "zero-screen.gif", noScreen, Expect::Picture);
    }

    add("thousands of GIF frames", "frames.gif", gifBytes(16, 16, 3000), Expect::Picture);
    add("huge real pictures", "wide.jpg", jpegBytes(16000, 16, false), Expect::Picture);
    add("huge real pictures", "tall.bmp", bmpBytes(8, 30000), Expect::Picture);
    return files;
}

std::vector<std::string> makeFileSystemOddities(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    ::mkfifo((folder / "pipe.jpg").c_str(), 0600);
    fs::create_symlink(folder / "nowhere.jpg", folder / "dangling.jpg");
    fs::create_symlink(folder / "loop-b.jpg", folder / "loop-a.jpg");
    fs::create_symlink(folder / "loop-a.jpg", folder / "loop-b.jpg");
    fs::create_directories(folder / "folder.jpg");
    fs::create_symlink("/dev/zero", folder / "zero-device.jpg");
    return {"pipe.jpg", "dangling.jpg", "loop-a.jpg", "folder.jpg", "zero-device.jpg"};
}

}  // namespace glimpa::test
