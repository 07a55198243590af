#include "decoding/OpaqueImage.h"

#include <algorithm>
#include <vector>

#include "decoding/RowShrinker.h"

namespace glimpa {

namespace {

void loadOpaqueRow(const uchar* from, int width, QRgb* row) {
    for (int x = 0; x < width; ++x, from += 3) {
        row[x] = qRgb(from[0], from[1], from[2]);
    }
}

}  // namespace

QImage shrinkOpaque(const QImage& image, QSize size) {
    QImage result(size, kOpaqueFormat);
    if (result.isNull()) {
        return result;
    }
    RowShrinker shrinker(image.width(), image.height(), size, [&](int y, const QRgb* row) {
        storeOpaqueRow(row, size.width(), result.scanLine(y));
    });
    std::vector<QRgb> row(static_cast<std::size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        loadOpaqueRow(image.constScanLine(y), image.width(), row.data());
        shrinker.add(row.data());
    }
    return result;
}

void transformOpaque(QImage& image, const QColorTransform& transform) {
    // A band of rows at a time at four bytes a pixel, as Qt transforms them.
    constexpr int kBand = 64;
    QImage band(image.width(), kBand, QImage::Format_RGB32);
    if (band.isNull()) {
        return;
    }
    for (int top = 0; top < image.height(); top += kBand) {
        const int rows = std::min(kBand, image.height() - top);
        for (int y = 0; y < rows; ++y) {
            loadOpaqueRow(image.constScanLine(top + y), image.width(),
                          reinterpret_cast<QRgb*>(band.scanLine(y)));
        }
        band.applyColorTransform(transform);
        for (int y = 0; y < rows; ++y) {
            storeOpaqueRow(reinterpret_cast<const QRgb*>(band.constScanLine(y)), image.width(),
                           image.scanLine(top + y));
        }
    }
}

}  // namespace glimpa
