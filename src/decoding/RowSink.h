#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "decoding/Decode.h"
#include "decoding/RowShrinker.h"

namespace glimpa {

/// Where a picture decoded row by row goes. The result is the natural size,
/// or when `size` is given and smaller: `size` when fitted exactly, the
/// smallest size of its shape that covers `size` otherwise; and no more than
/// the decoding budget holds. A picture of more pixels than a reduction may
/// pass takes only every so many of its rows and is shrunk further to match.
/// Rows are shrunk as they arrive, so that the picture is never held whole
/// at a larger size than the result's.
class RowSink {
public:
    /// For a picture of `natural` pixels whose rows arrive from the top, or
    /// from the bottom; with `alpha` they are premultiplied ARGB, otherwise
    /// opaque.
    RowSink(QSize natural, QSize size, DecodeFit fit, const DecodeLimits& limits, bool fromBottom,
            bool alpha);

    /// Why no picture can be made (too large for the budget, or no memory);
    /// empty when one can.
    const std::string& error() const { return m_error; }
    /// Whether the next row is taken: a row not taken need not be decoded.
    bool takesNext() const { return m_arrived % m_stride == 0; }
    /// The next row, `natural.width()` pixels; one not taken is passed by.
    void add(const QRgb* row);
    /// The picture made of the rows added.
    DecodedImage finish();

private:
    int rowOf(int arrived, int height) const {
        return m_fromBottom ? height - 1 - arrived : arrived;
    }
    void store(int y, const QRgb* row);

    QSize m_natural;
    QSize m_target;
    int m_stride = 1;
    bool m_fromBottom;
    bool m_largest = false;
    std::string m_error;
    QImage m_image;
    std::optional<RowShrinker> m_shrinker;
    int m_arrived = 0;
};

}  // namespace glimpa
