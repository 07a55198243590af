#include <gtest/gtest.h>

#include <QColorSpace>
#include <QDataStream>
#include <QImageReader>
#include <QLoggingCategory>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "decoding/Decode.h"
#include "decoding/FilePicture.h"
#include "decoding/Gif.h"
#include "decoding/PictureDecoder.h"
#include "decoding/PictureFile.h"
#include "decoding/RowShrinker.h"
#include "pictures/BadFiles.h"
#include "pictures/ImageFiles.h"
#include "support/Memory.h"

namespace glimpa {
namespace {

const FilePicture& asFile(const Picture& picture) {
    return dynamic_cast<const FilePicture&>(*picture);
}

TEST(Decoder, TurnsEveryExifOrientationUprightAsQtsOwnReaderDoes) {
    test::TempFolder folder;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string path = folder.file(std::to_string(orientation) + ".jpg");
        test::writeJpeg(path, 48, 24, orientation);
        QImageReader reader(QString::fromStdString(path));
        reader.setAutoTransform(true);
        const QImage expected = reader.read().convertToFormat(QImage::Format_RGB32);

        const DecodeResult result = PictureDecoder::decodeFile(path, {});
        ASSERT_TRUE(result) << orientation << result.error;
        const QImage& image = asFile(result.picture).fullImage();
        ASSERT_EQ(image.size(), expected.size()) << orientation;
        for (QPoint at :
             {QPoint(2, 2), QPoint(image.width() - 3, 2), QPoint(2, image.height() - 3)}) {
            EXPECT_NEAR(qRed(image.pixel(at)), qRed(expected.pixel(at)), 12) << orientation;
            EXPECT_NEAR(qGreen(image.pixel(at)), qGreen(expected.pixel(at)), 12) << orientation;
        }
    }
}

TEST(Decoder, FormatsAreKnownByContentAndTheUprightSizeCounts) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("really-a-jpeg.bmp"), 30, 20);
    test::writeBmp(folder.file("b.bmp"), 7, 5);
    test::writeGif(folder.file("g.gif"), 9, 4, 3);
    test::writeJpeg(folder.file("turned.jpg"), 40, 20, 6);  // rotate 90° to be upright
    for (const auto& [name, size] :
         {std::pair{"really-a-jpeg.bmp", QSize(30, 20)}, std::pair{"b.bmp", QSize(7, 5)},
          std::pair{"g.gif", QSize(9, 4)}, std::pair{"turned.jpg", QSize(20, 40)}}) {
        const DecodeResult result = PictureDecoder::decodeFile(folder.file(name), {});
        ASSERT_TRUE(result) << name;
        EXPECT_EQ(QSize(result.picture->widthPx(), result.picture->heightPx()), size) << name;
    }
}

TEST(Decoder, AFittedJpegIsDecodedSmallAndDecodedAgainWhenMoreIsAskedFor) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("big.jpg"), 1600, 1200);
    const DecodeResult result = PictureDecoder::decodeFile(folder.file("big.jpg"), {{400, 300}});
    ASSERT_TRUE(result);
    EXPECT_EQ(result.picture->widthPx(), 1600);
    EXPECT_EQ(result.picture->heightPx(), 1200);
    const FilePicture& picture = asFile(result.picture);
    EXPECT_LE(picture.heldBytes(), 2 * 800 * 600 * 4);  // nothing near the full size
    EXPECT_EQ(picture.imageAt(QSize(400, 300)).size(), QSize(400, 300));
    EXPECT_EQ(picture.fullImage().size(), QSize(1600, 1200));
}

/// How two images of one size differ over all channels: on average, and at
/// most.
struct Difference {
    double mean = 0;
    int largest = 0;
};

Difference differenceOf(const QImage& a, const QImage& b) {
    Difference difference;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int channel : {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                      std::abs(qBlue(p) - qBlue(q))}) {
                difference.mean += channel;
                difference.largest = std::max(difference.largest, channel);
            }
        }
    }
    difference.mean /= 3.0 * a.width() * a.height();
    return difference;
}

TEST(Decoder, AFittedJpegIsShrunkWhileItDecodesAsSmoothlyAsQtScalesIt) {
    // Fine grain tells a smooth shrink from a rough one.
    QImage grain(333, 217, QImage::Format_RGB32);
    for (int y = 0; y < grain.height(); ++y) {
        for (int x = 0; x < grain.width(); ++x) {
            const unsigned noise = (x * 7919U + y * 104729U) * 2654435761U;
            grain.setPixel(x, y, qRgb(noise >> 24U, (noise >> 16U) & 0xFFU, x * 255 / 333));
        }
    }
    for (const QSize size : {QSize(100, 61), QSize(332, 100), QSize(7, 200)}) {
        QImage shrunk(size, QImage::Format_RGB32);
        RowShrinker shrinker(grain.width(), grain.height(), size, [&](int y, const QRgb* row) {
            std::copy(row, row + size.width(), reinterpret_cast<QRgb*>(shrunk.scanLine(y)));
        });
        for (int y = 0; y < grain.height(); ++y) {
            shrinker.add(reinterpret_cast<const QRgb*>(grain.constScanLine(y)));
        }
        const QImage smooth = grain.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage rough = grain.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        EXPECT_LT(differenceOf(shrunk, smooth).mean, 1.0) << size.width();
        EXPECT_GT(differenceOf(rough, smooth).mean, 10.0) << size.width();  // the test can tell
    }

    test::TempFolder folder;
    test::writePhotoJpeg(folder.file("turned.jpg"), 1000, 700, false, 6);
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("turned.jpg")));
    const DecodedImage shrunk = decodePictureAt(bytes, QSize(300, 431));
    ASSERT_TRUE(shrunk) << shrunk.error;
    ASSERT_EQ(shrunk.image.size(), QSize(300, 431));
    EXPECT_EQ(shrunk.natural, QSize(700, 1000));
    const QImage reduced = decodePicture(bytes, QSize(300, 431)).image;
    const QImage smooth = reduced.scaled(300, 431, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(differenceOf(shrunk.image, smooth).mean, 1.0);
}

TEST(Decoder, EveryKindOfBmpIsReadAsQtReadsItShrunkSmoothlyAndShownWithinTheBudget) {
    const QImage photo = test::photoLike(300, 200, 7);
    using test::BmpCoding;
    for (const auto& [bits, coding] : {std::pair{1, BmpCoding::Plain},
                                       {4, BmpCoding::Plain},
                                       {4, BmpCoding::RunLength},
                                       {8, BmpCoding::Plain},
                                       {8, BmpCoding::RunLength},
                                       {16, BmpCoding::Plain},
                                       {16, BmpCoding::Bitfields},
                                       {24, BmpCoding::Plain},
                                       {32, BmpCoding::Plain},
                                       {32, BmpCoding::Bitfields}}) {
        for (const bool topDown : {false, true}) {
            if (topDown && coding == BmpCoding::RunLength) {
                continue;  // run-length coded rows are bottom-up only
            }
            SCOPED_TRACE(std::to_string(bits) + " bits, coding " +
                         std::to_string(static_cast<int>(coding)) +
                         (topDown ? ", top-down" : ", bottom-up"));
            const QByteArray bytes =
                QByteArray::fromStdString(test::bmpBytesOf(photo, bits, topDown, coding));
            const QImage whole =
                QImage::fromData(bytes, "bmp").convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(whole.size(), photo.size());
            const DecodedImage read = decodePicture(bytes, QSize());
            ASSERT_TRUE(read) << read.error;
            // Qt spreads five bits over 0 to 248; they reach 255 here.
            EXPECT_LE(differenceOf(read.image, whole).largest, bits == 16 ? 7 : 0);
            const qsizetype padding = (4 - (photo.width() * bits + 7) / 8 % 4) % 4;
            if (coding == BmpCoding::Plain && padding > 0) {
                // Some writers leave the last row's padding out.
                EXPECT_EQ(decodePicture(bytes.chopped(padding), QSize()).image, read.image);
            }
            const DecodedImage fitted = decodePictureAt(bytes, QSize(75, 50));
            ASSERT_TRUE(fitted) << fitted.error;
            const QImage smooth =
                read.image.scaled(75, 50, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_LT(differenceOf(fitted.image, smooth).mean, 1.0);
            DecodeLimits tight;
            tight.maxDecodedBytes = 300 * 200;  // a quarter of its pixels
            const DecodedImage budget = decodePicture(bytes, QSize(), tight);
            EXPECT_EQ(budget.natural, QSize(300, 200));
            EXPECT_EQ(budget.image.size(), QSize(150, 100));
            // Too many pixels to pass them all in time: every fourth row.
            tight.maxReducingPixels = 15'000;
            EXPECT_EQ(decodePicture(bytes, QSize(), tight).image.size(), QSize(75, 50));
        }
    }
    QImage white(6, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(decodePicture(QByteArray::fromStdString(test::bmpBytesOf(white, 16, false)), QSize())
                  .image.pixel(5, 1),
              qRgb(255, 255, 255));
}

TEST(Decoder, AGifLargerThanTheBudgetIsShownAsQtShowsItAtTheSizeTheBudgetHolds) {
    // Few colours in large fields, as in most GIFs, so that the codes grow long.
    QImage drawing(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            drawing.setPixel(x, y, qRgb((x / 20) * 16, (y / 25) * 30, (x * y / 500) % 2 * 200));
        }
    }
    for (const test::GifLayout& layout :
         {test::GifLayout{}, test::GifLayout{true, false, {}, {}},
          test::GifLayout{false, true, {}, {}}, test::GifLayout{true, true, {340, 260}, {30, 50}},
          test::GifLayout{false, false, {340, 260}, {30, 50}},
          test::GifLayout{false, true, {120, 90}, {30, 50}}}) {  // cut at the screen's edges
        SCOPED_TRACE(std::to_string(layout.interlaced) + std::to_string(layout.transparency) +
                     std::to_string(layout.screen.width()));
        const QByteArray bytes = QByteArray::fromStdString(test::gifBytesOf(drawing, layout));
        const QImage byQt =
            QImage::fromData(bytes, "gif").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(byQt.isNull());
        const DecodedImage whole = decodeGifRows(bytes, QSize(), DecodeFit::Covering, {});
        ASSERT_TRUE(whole) << whole.error;
        EXPECT_EQ(whole.image.convertToFormat(QImage::Format_ARGB32_Premultiplied), byQt);

        DecodeLimits tight;
        tight.maxDecodedBytes = decodedBytes(byQt.size()) / 4;
        const DecodedImage held = decodePicture(bytes, QSize(), tight);
        ASSERT_TRUE(held) << held.error;
        EXPECT_EQ(held.natural, byQt.size());
        EXPECT_EQ(held.image.size(), byQt.size() / 2);
        EXPECT_TRUE(held.largest);
        const QImage smooth =
            byQt.scaled(byQt.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(differenceOf(held.image, smooth).mean, 2.0);
        EXPECT_EQ(qAlpha(held.image.pixel(0, 0)), qAlpha(smooth.pixel(0, 0)));
    }
}

TEST(Decoder, A32BitBmpWithoutBitfieldsIsOpaqueWhateverItsFourthBytesHold) {
    // A version-5 header names an alpha mask, but without bitfields a
    // pixel's fourth byte is unused: here 0, which taken as alpha would leave
    // nothing to see.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    constexpr quint32 kOffset = 14 + 124;
    out.writeRawData("BM", 2);
    out << quint32(kOffset + 64 * 48 * 4) << quint32(0) << kOffset << quint32(124) << qint32(64)
        << qint32(48) << quint16(1) << quint16(32) << quint32(0) << quint32(64 * 48 * 4);
    out << qint32(2835) << qint32(2835) << quint32(0) << quint32(0) << quint32(0x00ff0000)
        << quint32(0x0000ff00) << quint32(0x000000ff) << quint32(0xff000000);
    bytes.append(QByteArray(kOffset - bytes.size(), '\0'));
    for (int i = 0; i < 64 * 48; ++i) {
        bytes.append("\x1e\x14\x0a\x00", 4);  // blue, green, red, unused
    }
    for (const QSize size : {QSize(), QSize(16, 12)}) {
        const DecodedImage decoded = decodePictureAt(bytes, size);
        ASSERT_TRUE(decoded) << decoded.error;
        EXPECT_EQ(decoded.image.pixel(3, 3), qRgb(10, 20, 30)) << size.width();
    }
}

TEST(Decoder, ALargePictureAskedForInAHurryIsCoarseFirstThenAsShown) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("big.jpg"), 1600, 1200);
    std::atomic<int> told = 0;
    PictureDecoder decoder([&] { ++told; }, limits::kPreparedBytes, std::chrono::seconds(1));
    const DecodeResult first = decoder.decode(folder.file("big.jpg"), {400, 300});
    ASSERT_TRUE(first);
    const DecodeResult hurried = decoder.decode(folder.file("big.jpg"), {400, 300});
    ASSERT_TRUE(hurried);
    const qint64 fittedBytes = asFile(first.picture).heldBytes();
    // The 1/8 scale: 200 × 150 pixels, a quarter of the fitted decode's.
    EXPECT_EQ(asFile(hurried.picture).heldBytes() * 4, fittedBytes);
    EXPECT_EQ(asFile(hurried.picture).imageAt({400, 300}).width(), 200);  // a paint asks for more
    decoder.waitUntilIdle();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(asFile(hurried.picture).imageAt({400, 300}).size(), QSize(400, 300));
    EXPECT_EQ(asFile(hurried.picture).heldBytes(), fittedBytes);

    // At its natural size: whole at once unless it is large.
    ASSERT_TRUE(decoder.decode(folder.file("big.jpg")));
    EXPECT_EQ(asFile(decoder.decode(folder.file("big.jpg")).picture).heldBytes(), 1600 * 1200 * 3);
    decoder.waitUntilIdle();  // the pause comes though nothing more was asked for
    test::writeJpeg(folder.file("large.jpg"), 2400, 1800);
    ASSERT_TRUE(decoder.decode(folder.file("big.jpg")));
    const DecodeResult large = decoder.decode(folder.file("large.jpg"));
    ASSERT_TRUE(large);
    EXPECT_EQ(asFile(large.picture).imageAt({2400, 1800}).width(), 300);
    decoder.waitUntilIdle();
    EXPECT_EQ(asFile(large.picture).imageAt({2400, 1800}).width(), 2400);
}

TEST(Decoder, APictureAskedForRightAfterTheOneBeforeWasHadIsHurriedHoweverLongThatTook) {
    test::TempFolder folder;
    test::writeLargeJpeg(folder.file("a.jpg"), 4000, 3000);
    test::writeJpeg(folder.file("b.jpg"), 2400, 1800);
    PictureDecoder decoder({}, limits::kPreparedBytes, std::chrono::milliseconds(20));
    ASSERT_TRUE(decoder.decode(folder.file("a.jpg")));  // whole, in far more than 20 ms
    const DecodeResult next = decoder.decode(folder.file("b.jpg"));
    ASSERT_TRUE(next);
    EXPECT_EQ(asFile(next.picture).heldBytes(), 300 * 225 * 3);  // coarse
}

TEST(Decoder, AProgressiveJpegInAHurryIsTheColoursOfItsFirstScansAndACutOneIsRefused) {
    test::TempFolder folder;
    test::writePhotoJpeg(folder.file("p.jpg"), 1600, 1200, true);
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("p.jpg")));
    const DecodedImage coarse = decodeCoarsely(bytes);
    ASSERT_TRUE(coarse) << coarse.error;
    const DecodedImage whole = decodePicture(bytes, QSize(1, 1));  // every scan at 1/8
    ASSERT_EQ(coarse.image.size(), QSize(200, 150));
    ASSERT_EQ(whole.image.size(), coarse.image.size());
    EXPECT_LT(differenceOf(coarse.image, whole.image).mean, 2.0);
    EXPECT_FALSE(decodeCoarsely(bytes.chopped(bytes.size() / 3)));
    // Scans of one colour component each: the colours come after the brightness.
    const QByteArray apart = QByteArray::fromStdString(
        test::componentWiseProgressiveJpegBytes(test::photoLike(320, 240, 3)));
    const DecodedImage colours = decodeCoarsely(apart);
    ASSERT_TRUE(colours) << colours.error;
    EXPECT_LT(differenceOf(colours.image, decodePicture(apart, QSize(1, 1)).image).mean, 2.0);
}

TEST(Decoder, AFittedPictureNeverGrowsFromAFileChangedSinceItWasRead) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("big.jpg"), 1600, 1200);
    const DecodeResult result = PictureDecoder::decodeFile(folder.file("big.jpg"), {{400, 300}});
    ASSERT_TRUE(result);
    test::writeJpeg(folder.file("big.jpg"), 1600, 1200, 6);  // another picture, same size
    EXPECT_EQ(asFile(result.picture).fullImage().size(), QSize(400, 300));  // what it holds
}

TEST(Decoder, ABaselineJpegIsReadFromItsFileAsItDecodesAndRefusedWhenCutShortMeanwhile) {
    test::TempFolder folder;
    const std::string path = folder.file("photo.jpg");
    test::writePhotoJpeg(path, 1600, 1200);
    const QByteArray whole = QByteArray::fromStdString(test::readBytes(path));
    std::string error;
    const auto opened = openPictureFile(path, error);
    ASSERT_TRUE(opened) << error;
    EXPECT_LT(opened->bytes.size(), whole.size());  // its header, and no more than a buffer
    const DecodedImage read = decodePictureAt(opened->bytes, {400, 300}, {}, opened->readOn);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.image, decodePictureAt(whole, {400, 300}).image);
    EXPECT_TRUE(opened->unchanged());

    const auto cut = openPictureFile(path, error);
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(whole.size() / 2));
    EXPECT_FALSE(decodePictureAt(cut->bytes, {400, 300}, {}, cut->readOn));
    EXPECT_FALSE(cut->unchanged());

    // A progressive JPEG decodes from all of its scans at once: read whole.
    test::writePhotoJpeg(path, 1600, 1200, true);
    const auto progressive = openPictureFile(path, error);
    EXPECT_EQ(progressive->bytes.size(), static_cast<qsizetype>(std::filesystem::file_size(path)));
    EXPECT_FALSE(progressive->readOn);
}

TEST(Decoder, AJpegLargerThanTheBudgetIsShownAtTheLargestSizeTheBudgetHolds) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("large.jpg"), 1000, 800);  // 3.2 MB decoded
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("large.jpg")));
    DecodeLimits tight;
    tight.maxDecodedBytes = 1'000'000;
    const DecodedImage decoded = decodePicture(bytes, QSize(), tight);
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_EQ(decoded.natural, QSize(1000, 800));
    // The largest of its shape in the budget (1000 × 800 × √(1 / 3.2)), not
    // merely the half that a reduced decode alone gives.
    EXPECT_EQ(decoded.image.size(), QSize(559, 447));
    // Unless that would mean decoding more pixels than a reduction may pass.
    tight.maxReducingPixels = 300'000;
    EXPECT_EQ(decodePicture(bytes, QSize(), tight).image.size(), QSize(500, 400));
    // A progressive photo holds its coefficients (here, with colours at half
    // resolution, 2.4 MB) while it decodes at any size: it too is shown at the
    // largest size its pixels' budget holds, unless its coefficients alone
    // would take more memory than a decode may.
    test::writePhotoJpeg(folder.file("progressive.jpg"), 1000, 800, true);
    const QByteArray progressive =
        QByteArray::fromStdString(test::readBytes(folder.file("progressive.jpg")));
    tight = {};
    tight.maxDecodedBytes = 1'000'000;
    tight.maxCoefficientBytes = 2'500'000;
    EXPECT_EQ(decodePicture(progressive, QSize(), tight).image.size(), QSize(559, 447));
    tight.maxCoefficientBytes = 2'300'000;
    EXPECT_FALSE(decodePicture(progressive, QSize(), tight));
    EXPECT_GE(limits::decodedBytesBudget(), 1'000'000'000);  // 250 MP on this machine
}

/// A picture decoded whole and decoded shrunk to a fifth, for tests of colour.
std::vector<QImage> wholeAndShrunk(const QByteArray& bytes, QSize natural) {
    return {decodePicture(bytes, QSize()).image, decodePictureAt(bytes, natural / 5).image};
}

QByteArray jpegOf(const QImage& image) {
    return QByteArray::fromStdString(test::jpegBytesOf(image));
}

TEST(Decoder, CmykAndGrayJpegsShowInTheirColoursWholeOrShrunk) {
    // Red is magenta and yellow ink; a quarter of black darkens it.
    for (const bool adobe : {true, false}) {
        const QByteArray bytes =
            QByteArray::fromStdString(test::cmykJpegBytes(40, 40, {0, 255, 255, 64}, adobe));
        for (const QImage& image : wholeAndShrunk(bytes, QSize(40, 40))) {
            ASSERT_FALSE(image.isNull()) << adobe;
            const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
            EXPECT_NEAR(qRed(pixel), 191, 3) << adobe << image.width();
            EXPECT_NEAR(qGreen(pixel), 0, 3) << adobe << image.width();
            EXPECT_NEAR(qBlue(pixel), 0, 3) << adobe << image.width();
        }
    }
    QImage gray(40, 40, QImage::Format_Grayscale8);
    gray.fill(90);
    for (const QImage& image : wholeAndShrunk(jpegOf(gray), gray.size())) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixel(4, 4), qRgb(90, 90, 90)) << image.width();
    }
}

TEST(Decoder, AJpegInAdobeRgbIsShownConvertedToSrgbWholeOrShrunk) {
    QImage patch(40, 40, QImage::Format_RGB32);
    patch.fill(qRgb(128, 200, 100));
    patch.setColorSpace(QColorSpace::AdobeRgb);
    // Adobe RGB (128, 200, 100) through XYZ (D65) is sRGB (77, 201, 92).
    for (const QImage& image : wholeAndShrunk(jpegOf(patch), patch.size())) {
        ASSERT_FALSE(image.isNull());
        const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
        EXPECT_NEAR(qRed(pixel), 77, 4) << image.width();
        EXPECT_NEAR(qGreen(pixel), 201, 4) << image.width();
        EXPECT_NEAR(qBlue(pixel), 92, 4) << image.width();
    }
}

TEST(Decoder, ACoverSizeNeverEnlargesAPicture) {
    test::TempFolder folder;
    test::writeBmp(folder.file("strip.bmp"), 3000, 2);
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("strip.bmp")));
    const DecodedImage decoded = decodePicture(bytes, QSize(32, 24));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded.image.size(), QSize(3000, 2));
    test::writeBmp(folder.file("big.bmp"), 300, 200);
    const DecodedImage reduced = decodePicture(
        QByteArray::fromStdString(test::readBytes(folder.file("big.bmp"))), QSize(30, 10));
    EXPECT_EQ(reduced.image.size(), QSize(30, 20));
    EXPECT_EQ(reduced.natural, QSize(300, 200));
}

TEST(Decoder, PreparedNeighboursAreHandedOutOnceAndOnlyWhileTheFileIsUnchanged) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("a.jpg"), 64, 48);
    test::writeJpeg(folder.file("b.jpg"), 64, 48);
    PictureDecoder decoder;
    decoder.prefetch({folder.file("a.jpg"), folder.file("b.jpg")}, {32, 32});
    decoder.waitUntilIdle();
    EXPECT_TRUE(decoder.isPrepared(folder.file("a.jpg")));
    EXPECT_TRUE(decoder.decode(folder.file("a.jpg"), {32, 32}));
    EXPECT_FALSE(decoder.isPrepared(folder.file("a.jpg")));

    test::writeJpeg(folder.file("b.jpg"), 30, 20);  // replaced after it was prepared
    const DecodeResult b = decoder.decode(folder.file("b.jpg"), {32, 32});
    ASSERT_TRUE(b);
    EXPECT_EQ(b.picture->widthPx(), 30);
}

TEST(Decoder, ThePictureLeftIsANeighbourOfTheNextOneWithoutBeingDecodedAgain) {
    test::TempFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        test::writeJpeg(folder.file(name), 64, 48);
    }
    PictureDecoder decoder({}, limits::kPreparedBytes, std::chrono::milliseconds(0));
    DecodeResult a = decoder.decode(folder.file("a.jpg"), {32, 32});
    const std::weak_ptr<const PictureData> left = a.picture;
    ASSERT_TRUE(decoder.decode(folder.file("b.jpg"), {32, 32}));
    a = {};  // the viewer lets go of the picture it left
    decoder.prefetch({folder.file("a.jpg"), folder.file("c.jpg")}, {32, 32});
    EXPECT_TRUE(decoder.isPrepared(folder.file("a.jpg")));
    EXPECT_EQ(decoder.decode(folder.file("a.jpg"), {32, 32}).picture, left.lock());
}

TEST(Decoder, ANeighbourUnderWayWhenTheDisplaySizeChangesIsPreparedAgainForTheNewSize) {
    test::TempFolder folder;
    const std::string a = folder.file("a.jpg");
    const std::string b = folder.file("b.jpg");
    test::writeJpeg(a, 1600, 1200);
    test::writeJpeg(b, 1600, 1200);
    PictureDecoder decoder;
    decoder.prefetch({a}, {200, 150});
    decoder.prefetch({a}, {800, 600});  // the window grew while the worker was on it
    const DecodeResult shown = decoder.decode(a, {800, 600});
    ASSERT_TRUE(shown);
    EXPECT_GE(asFile(shown.picture).imageAt(QSize(800, 600)).width(), 800);
    decoder.prefetch({b}, {200, 150});
    decoder.prefetch({b}, {800, 600});
    decoder.waitUntilIdle();
    ASSERT_TRUE(decoder.isPrepared(b));
    const DecodeResult next = decoder.decode(b, {800, 600});
    ASSERT_TRUE(next);
    EXPECT_GE(asFile(next.picture).heldBytes(), 800 * 600 * 3);  // not the small one
}

TEST(Decoder, AtLeisureTheNearestIsPreparedAndWhatIsNoLongerWantedIsDropped) {
    test::TempFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        test::writeJpeg(folder.file(name), 200, 200);
    }
    PictureDecoder decoder;
    decoder.prefetch({folder.file("a.jpg"), folder.file("b.jpg")}, {});
    decoder.waitUntilIdle();
    EXPECT_TRUE(decoder.isPrepared(folder.file("a.jpg")));
    EXPECT_FALSE(decoder.isPrepared(folder.file("b.jpg")));  // one picture in full is enough
    decoder.prefetch({folder.file("c.jpg"), folder.file("a.jpg")}, {});
    decoder.waitUntilIdle();
    EXPECT_FALSE(decoder.isPrepared(folder.file("a.jpg")));
    EXPECT_TRUE(decoder.isPrepared(folder.file("c.jpg")));

    // A jump to a picture not wanted lets the prepared one go.
    ASSERT_TRUE(decoder.decode(folder.file("b.jpg")));
    EXPECT_FALSE(decoder.isPrepared(folder.file("c.jpg")));
}

TEST(Decoder, InAHurryTheNearestTwoArePreparedCoarselyAndInFullOnceTheUserPauses) {
    test::TempFolder folder;
    std::vector<std::string> paths;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        paths.push_back(folder.file(name));
        test::writeJpeg(paths.back(), 1600, 1200);
    }
    PictureDecoder decoder({}, limits::kPreparedBytes, std::chrono::seconds(2));
    ASSERT_TRUE(decoder.decode(paths[0], {400, 300}));
    ASSERT_TRUE(decoder.decode(paths[1], {400, 300}));  // soon after: in a hurry
    decoder.prefetch({paths[2], paths[3]}, {400, 300});
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (!(decoder.isPrepared(paths[2]) && decoder.isPrepared(paths[3])) &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(decoder.isPrepared(paths[3]));
    const DecodeResult next = decoder.decode(paths[2], {400, 300});
    ASSERT_TRUE(next);
    EXPECT_EQ(asFile(next.picture).heldBytes(), 200 * 150 * 3);  // the 1/8 scale, in RGB

    decoder.prefetch({paths[3], paths[0]}, {400, 300});
    decoder.waitUntilIdle();  // the user pauses
    EXPECT_FALSE(decoder.isPrepared(paths[0]));
    const DecodeResult full = decoder.decode(paths[3], {400, 300});
    ASSERT_TRUE(full);
    EXPECT_EQ(asFile(full.picture).heldBytes(), 400 * 300 * 3);
}

#ifndef GLIMPA_SANITIZED
TEST(Decoder, APhotoStoredOnItsSideIsTurnedUprightWithoutBeingHeldTwice) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("turned.jpg"), 4000, 3000, 6);  // 48 MB decoded
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("turned.jpg")));
    test::resetPeakMemory();
    const long before = test::processMegabytes("VmRSS");
    const DecodedImage decoded = decodePicture(bytes, QSize());
    EXPECT_EQ(decoded.image.size(), QSize(3000, 4000));
    EXPECT_LE(test::processMegabytes("VmHWM") - before, 48 * 5 / 4);
}

TEST(Decoder, AProgressivePhotoAtItsNaturalSizeNeverHoldsItsCoefficientsAndPixelsWhole) {
    // 4000 × 3000 pixels: 36 MB decoded, and as much again in coefficients.
    test::TempFolder folder;
    test::writePhotoJpeg(folder.file("p.jpg"), 4000, 3000, true);
    const QByteArray bytes = QByteArray::fromStdString(test::readBytes(folder.file("p.jpg")));
    test::resetPeakMemory();
    const long before = test::processMegabytes("VmRSS");
    const DecodedImage decoded = decodePicture(bytes, QSize());
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_LE(test::processMegabytes("VmHWM") - before, 36 * 5 / 4);
    const QImage qt = QImage::fromData(bytes, "JPEG").convertToFormat(decoded.image.format());
    EXPECT_LT(differenceOf(decoded.image, qt).mean, 1.0);
}

TEST(Decoder, ABmpLargerThanAFileHeldWholeIsReadAsItDecodesAndHeldOnlyAsItsPixels) {
    // 14000 × 13000 pixels: a file of 546 MB, whose rows are a hole read as
    // black, and 728 MB decoded at four bytes a pixel, more than Qt's
    // readers take by default.
    constexpr int kWidth = 14000;
    constexpr int kHeight = 13000;
    if (limits::decodedBytesBudget() < decodedBytes({kWidth, kHeight})) {
        GTEST_SKIP() << "this machine's budget is smaller";
    }
    test::TempFolder folder;
    test::writeHollowBmp(folder.file("large.bmp"), kWidth, kHeight);
    ASSERT_GT(std::filesystem::file_size(folder.file("large.bmp")), limits::kMaxFileBytes);
    test::resetPeakMemory();
    const long before = test::processMegabytes("VmRSS");
    const DecodeResult result = PictureDecoder::decodeFile(folder.file("large.bmp"), {});
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(asFile(result.picture).fullImage().size(), QSize(kWidth, kHeight));
    const long pixelMegabytes = static_cast<long>(kWidth) * kHeight * 3 / (1024 * 1024);
    EXPECT_LE(test::processMegabytes("VmHWM") - before, pixelMegabytes * 11 / 10);
}

TEST(Decoder, APictureHeldToTheBudgetIsNotDecodedAgainToBeShownWhole) {
    // 65535 × 65535 pixels, far more than a budget holds: a BMP whose
    // run-length codes end at once, every pixel left in the first colour.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(14 + 40 + 8 + 2) << quint32(0) << quint32(14 + 40 + 8) << quint32(40)
        << qint32(65535) << qint32(65535) << quint16(1) << quint16(8) << quint32(1) << quint32(2)
        << qint32(0) << qint32(0) << quint32(2) << quint32(0) << quint32(0x00102030) << quint32(0);
    out.writeRawData("\x00\x01", 2);
    test::TempFolder folder;
    test::writeBytes(folder.file("huge.bmp"), bytes.toStdString());
    std::atomic<int> refined = 0;
    PictureDecoder decoder([&] { ++refined; });
    const DecodeResult result = decoder.decode(folder.file("huge.bmp"));
    ASSERT_TRUE(result) << result.error;
    const QImage& shown = asFile(result.picture).fullImage();
    EXPECT_LT(decodedBytes(shown.size()), limits::decodedBytesBudget());
    EXPECT_EQ(shown.pixel(7, 7), qRgb(0x10, 0x20, 0x30));
    decoder.waitUntilIdle();
    EXPECT_EQ(refined, 0);
}

TEST(Decoder, ANeighbourLargerThanTheBudgetForPreparedPicturesIsNotDecoded) {
    test::TempFolder folder;
    test::writeLargeJpeg(folder.file("a.jpg"), 4000, 3000);  // 48 MB decoded
    PictureDecoder decoder({}, 40LL * 1024 * 1024);
    test::resetPeakMemory();
    const long before = test::processMegabytes("VmRSS");
    decoder.prefetch({folder.file("a.jpg")}, {});
    decoder.waitUntilIdle();
    EXPECT_FALSE(decoder.isPrepared(folder.file("a.jpg")));
    EXPECT_LE(test::processMegabytes("VmHWM") - before, 20);
}
#endif

TEST(Decoder, ADamagedFileFailsEveryTimePrefetchedOrNot) {
    test::TempFolder folder;
    test::writeJpeg(folder.file("ok.jpg"), 40, 40);
    std::string bytes = test::readBytes(folder.file("ok.jpg"));
    test::writeBytes(folder.file("cut.jpg"), bytes.substr(0, bytes.size() / 2));
    PictureDecoder decoder;
    decoder.prefetch({folder.file("cut.jpg")}, {});
    decoder.waitUntilIdle();
    EXPECT_FALSE(decoder.decode(folder.file("cut.jpg")));
    EXPECT_FALSE(decoder.decode(folder.file("cut.jpg")));
}

TEST(Decoder, AFailureLeavesOneLineWithPathAndReasonInTheDecodeLog) {
    test::TempFolder folder;
    test::writeBytes(folder.file("text.jpg"), "hello");
    static QStringList lines;  // the message handler is a plain function
    lines.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("glimpa.decode.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (QByteArray(context.category) == "glimpa.decode") {
                lines.append(message);
            }
        });
    PictureDecoder decoder;
    EXPECT_FALSE(decoder.decode(folder.file("text.jpg")));
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.front().contains(QString::fromStdString(folder.file("text.jpg"))));
    EXPECT_TRUE(lines.front().contains("not a BMP, JPEG or GIF picture"));
}

TEST(Decoder, ALargeFileThatIsNoPictureIsRefusedFromItsFirstBytes) {
    test::TempFolder folder;
    const std::string path = folder.file("sparse.jpg");
    test::writeBytes(path, "not a picture");
    std::filesystem::resize_file(path, 500LL * 1000 * 1000);  // sparse: no disk taken
    const long before = test::processMegabytes("VmHWM");
    const DecodeResult result = PictureDecoder::decodeFile(path, {});
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, "not a BMP, JPEG or GIF picture");
    EXPECT_LT(test::processMegabytes("VmHWM") - before, 100);  // the rest was never read
}

TEST(Decoder, EveryBadFileFailsOrGivesAPictureThatCanBeDrawnAtAnySize) {
    test::TempFolder folder;
    for (const test::BadFile& file : test::badPictureFiles()) {
        SCOPED_TRACE(file.name);
        test::writeBytes(folder.file(file.name), file.bytes);
        for (DisplayHint hint : {DisplayHint{}, DisplayHint{40, 30}}) {
            const DecodeResult result = PictureDecoder::decodeFile(folder.file(file.name), {hint});
            if (result) {
                EXPECT_NE(file.expect, test::Expect::Failure);
                EXPECT_FALSE(asFile(result.picture).imageAt(QSize(13, 7)).isNull());
                EXPECT_FALSE(asFile(result.picture).fullImage().isNull());
            } else {
                EXPECT_FALSE(result.error.empty());
                EXPECT_NE(file.expect, test::Expect::Picture);
            }
        }
        // In a hurry too, what is refused whole is refused.
        const DecodedImage coarse = decodeCoarsely(QByteArray::fromStdString(file.bytes));
        EXPECT_NE(file.expect, coarse ? test::Expect::Failure : test::Expect::Picture);
    }
}

}  // namespace
}  // namespace glimpa
