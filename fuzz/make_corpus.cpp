// Writes the bad-input corpus and a few good pictures into a folder: the seed
// corpus of the loader fuzzer (each file with the two limit bytes in front).
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>

#include "pictures/BadFiles.h"
#include "pictures/ImageFiles.h"

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::string limits("\x1f\x3f", 2);
    for (const auto& file : glimpa::test::badPictureFiles()) {
        glimpa::test::writeBytes(folder / file.name, limits + file.bytes);
    }
    glimpa::test::TempFolder scratch;
    glimpa::test::writeJpeg(scratch.path() / "good.jpg", 40, 30);
    glimpa::test::writeJpeg(scratch.path() / "turned.jpg", 40, 30, 6);
    glimpa::test::writeBmp(scratch.path() / "good.bmp", 17, 9);
    glimpa::test::writeGif(scratch.path() / "good.gif", 20, 12, 2);
    for (const char* name : {"good.jpg", "turned.jpg", "good.bmp", "good.gif"}) {
        glimpa::test::writeBytes(folder / name,
                                 limits + glimpa::test::readBytes(scratch.path() / name));
    }
    // Each other kind of BMP.
    using glimpa::test::BmpCoding;
    const QImage photo = glimpa::test::photoLike(19, 11, 3);
    for (const auto& [bits, coding] : {std::pair{1, BmpCoding::Plain},
                                       {4, BmpCoding::RunLength},
                                       {8, BmpCoding::RunLength},
                                       {16, BmpCoding::Plain},
                                       {16, BmpCoding::Bitfields},
                                       {32, BmpCoding::Bitfields}}) {
        glimpa::test::writeBytes(folder / ("kind-" + std::to_string(bits) + "-" +
                                           std::to_string(static_cast<int>(coding)) + ".bmp"),
                                 limits + glimpa::test::bmpBytesOf(photo, bits, false, coding));
    }
    // GIFs larger than the smallest budget, decoded a row at a time.
    const QImage large = glimpa::test::photoLike(600, 500, 4);
    const std::string smallest("\x00\x3f", 2);
    glimpa::test::writeBytes(folder / "large.gif", smallest + glimpa::test::gifBytesOf(large));
    glimpa::test::writeBytes(
        folder / "large-placed.gif",
        smallest + glimpa::test::gifBytesOf(large, {true, true, {640, 520}, {20, 10}}));
    std::printf("corpus written to %s\n", folder.c_str());
    return 0;
}
