#include "decoding/UprightRows.h"

#include <iterator>

#include "decoding/OpaqueImage.h"

namespace glimpa {

UprightRows::UprightRows(QImage& upright, QSize stored, int orientation)
    : m_bits(upright.bits()),
      m_stride(upright.bytesPerLine()),
      m_stored(stored),
      m_orientation(orientation) {}

void UprightRows::put(int y, const QRgb* row) {
    const int width = m_stored.width();
    const int height = m_stored.height();
    constexpr int kPixel = 3;
    // Where the stored pixel (x, y) goes: along an upright row for the
    // orientations 1 to 4, down an upright column for 5 to 8.
    switch (m_orientation) {
        case 2:  // mirrored across
        case 3:  // turned half round
            m_reversed.assign(std::make_reverse_iterator(row + width),
                              std::make_reverse_iterator(row));
            storeOpaqueRow(m_reversed.data(), width,
                           rowOf(m_orientation == 2 ? y : height - 1 - y));
            return;
        case 4:  // mirrored upside down
            storeOpaqueRow(row, width, rowOf(height - 1 - y));
            return;
        case 5:    // (x, y) to (y, x)
        case 6:    // turned a quarter clockwise: (x, y) to (height - 1 - y, x)
        case 7:    // (x, y) to (height - 1 - y, width - 1 - x)
        case 8: {  // turned a quarter anticlockwise: (x, y) to (y, width - 1 - x)
            const int column = m_orientation == 5 || m_orientation == 8 ? y : height - 1 - y;
            const bool upwards = m_orientation == 7 || m_orientation == 8;
            for (int x = 0; x < width; ++x) {
                const int upright = upwards ? width - 1 - x : x;
                storeOpaqueRow(row + x, 1, rowOf(upright) + column * kPixel);
            }
            return;
        }
        default:
            storeOpaqueRow(row, width, rowOf(y));
    }
}

}  // namespace glimpa
