// Makes the peer benchmark's folders of large photos: each source photo is
// enlarged smoothly to the width given and saved as a JPEG of quality 90.
// Arguments: the width, the output folder, then the source photos. A photo
// that exists already is kept.
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH FOLDER PHOTO...\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const QString target = QString("%1/photo%2.jpg").arg(folder).arg(i - 2, 2, 10, QChar('0'));
        if (QFileInfo::exists(target)) {
            continue;
        }
        const QImage source(QString::fromLocal8Bit(argv[i]));
        if (source.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const int height =
            static_cast<int>(static_cast<qint64>(width) * source.height() / source.width());
        QImageWriter writer(target, "jpeg");
        writer.setQuality(90);
        if (!writer.write(
                source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}
