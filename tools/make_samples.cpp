// Writes the program's own sample pictures into a folder: each format, a few
// sizes, one larger than a screen and one that must be turned upright.
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>

#include "pictures/ImageFiles.h"

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    namespace test = glimpa::test;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    test::writePhotoJpeg(folder / "meadow.jpg", 1600, 1200);
    test::writePhotoJpeg(folder / "panorama.jpg", 6000, 1500);
    test::writePhotoJpeg(folder / "portrait.jpg", 1600, 1200, false, 6);
    test::writePhotoJpeg(folder / "evening.jpg", 1024, 768, true);
    test::photoLike(800, 600, 3)
        .save(QString::fromStdString((folder / "sunset.bmp").string()), "BMP");
    test::writeGif(folder / "waves.gif", 480, 320, 3);
    std::printf("samples written to %s\n", folder.c_str());
    return 0;
}
