#pragma once

#include <QImage>
#include <vector>

namespace glimpa {

/// Whether a picture with this EXIF orientation (1 … 8) is stored lying on
/// its side, its width and height swapped.
inline bool turnsSideways(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

/// Puts the rows of a picture as it is stored, one at a time, where they
/// belong in the picture turned upright by its EXIF orientation, so that the
/// picture is never held twice, once as stored and once turned.
class UprightRows {
public:
    /// Rows of a stored picture of `stored` pixels into `upright`, an image
    /// of the upright size in kOpaqueFormat.
    UprightRows(QImage& upright, QSize stored, int orientation);

    /// Stored row y: stored.width() pixels.
    void put(int y, const QRgb* row);

private:
    uchar* rowOf(int upright) const { return m_bits + upright * m_stride; }

    uchar* const m_bits;
    const qsizetype m_stride;
    const QSize m_stored;
    const int m_orientation;
    std::vector<QRgb> m_reversed;  // a mirrored row
};

}  // namespace glimpa
