#include "platform/qt/QtImageDecoder.h"

#include <QFile>
#include <QImageReader>

#include "platform/qt/QtPicture.h"

namespace glimpa {

namespace {
// A 100-megapixel photo at four bytes a pixel, with room to spare.
constexpr int kAllocationLimitMb = 512;
}  // namespace

QtImageDecoder::QtImageDecoder() {
    QImageReader::setAllocationLimit(kAllocationLimitMb);
}

DecodeResult QtImageDecoder::decode(const std::string& path) {
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg" && format != "gif") {
        return {nullptr, "not a BMP, JPEG or GIF picture"};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return {nullptr, reader.errorString().toStdString()};
    }
    return {std::make_shared<QtPicture>(std::move(image)), {}};
}

}  // namespace glimpa
