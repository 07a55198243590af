#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

namespace glimpa {

/// Shrinks a picture while its rows arrive, top to bottom: each pixel of the
/// result is the average of the source area it covers, a source pixel on an
/// edge weighed by the part of it inside. It holds one row of sums, never the
/// source, so that a large decode need not be kept whole to be shrunk.
class RowShrinker {
public:
    /// Each finished row of the result, y counted from the top.
    using Finished = std::function<void(int y, const QRgb* row)>;

    /// Rows of a source `sourceWidth` × `sourceHeight` pixels into a result
    /// of `result` pixels, no larger than the source in either direction.
    /// With `alpha` the rows are premultiplied ARGB and so is the result;
    /// otherwise both are opaque.
    RowShrinker(int sourceWidth, int sourceHeight, QSize result, Finished finished,
                bool alpha = false);

    /// The next source row: sourceWidth 32-bit pixels.
    void add(const QRgb* row);

private:
    /// Two neighbouring source pixels, `source` and the next, and their
    /// weights in a result pixel, in 256ths.
    struct TapPair {
        int source;
        std::int16_t weight;
        std::int16_t nextWeight;
    };

    void addWeighed(const QRgb* row, std::uint16_t weight);
    void finishRow();

    const QSize m_result;
    const Finished m_finished;
    const std::int64_t m_sourceHeight;
    const bool m_alpha;
    /// The source pixels of the result's column x: m_taps[m_firstTap[x]] up
    /// to m_taps[m_firstTap[x + 1]], their weights adding up to 256.
    std::vector<TapPair> m_taps;
    std::vector<int> m_firstTap;
    /// The source rows of the result's row being made: each channel of each
    /// source pixel (and one more pixel, of nothing) times its row's weight,
    /// summed. A row's weights add up to 128, so that a sum stays below 32768.
    std::vector<std::uint16_t> m_column;
    std::vector<QRgb> m_row;
    std::int64_t m_sourceRow = 0;
    int m_resultRow = 0;
};

}  // namespace glimpa
