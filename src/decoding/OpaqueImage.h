#pragma once

#include <QColorTransform>
#include <QImage>
#include <QSize>

namespace glimpa {

/// Opaque pictures are held at three bytes a pixel: the picture shown and
/// the one prepared ahead take a quarter less memory than at four. Qt scales
/// and converts colours of such an image through a copy at four bytes a
/// pixel; the functions here work row by row instead, never holding a
/// second picture of the full size.
inline constexpr QImage::Format kOpaqueFormat = QImage::Format_RGB888;

/// Stores `width` pixels of 32-bit RGB as a row of kOpaqueFormat.
inline void storeOpaqueRow(const QRgb* row, int width, uchar* into) {
    for (int x = 0; x < width; ++x, into += 3) {
        into[0] = static_cast<uchar>(qRed(row[x]));
        into[1] = static_cast<uchar>(qGreen(row[x]));
        into[2] = static_cast<uchar>(qBlue(row[x]));
    }
}

/// An opaque image smoothly shrunk to `size`, no larger than it either way.
QImage shrinkOpaque(const QImage& image, QSize size);

/// Applies a colour transform to an opaque image in place.
void transformOpaque(QImage& image, const QColorTransform& transform);

}  // namespace glimpa
