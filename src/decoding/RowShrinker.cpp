#include "decoding/RowShrinker.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace glimpa {

namespace {

// Positions are counted in units that make every edge a whole number: a source
// pixel is as many units long as the result has pixels, and a result pixel as
// many as the source has. A weight is
// the part of a result pixel that a source pixel covers, in `whole`ths;
// rounding each edge rather than each part keeps a result pixel's weights at
// `whole` in all.

int weightBetween(std::int64_t from, std::int64_t to, std::int64_t span, int whole) {
    const auto inParts = [&](std::int64_t at) { return (at * whole + span / 2) / span; };
    return static_cast<int>(inParts(to) - inParts(from));
}

constexpr int kAcross = 256;  // the parts of a result pixel's width
constexpr int kDown = 128;    // the parts of its height
constexpr int kChannels = 4;  // blue, green, red and alpha, in memory order

}  // namespace

RowShrinker::RowShrinker(int sourceWidth, int sourceHeight, QSize result, Finished finished,
                         bool alpha)
    : m_result(result),
      m_finished(std::move(finished)),
      m_sourceHeight(sourceHeight),
      m_alpha(alpha),
      m_column((static_cast<std::size_t>(sourceWidth) + 1) * kChannels),
      m_row(static_cast<std::size_t>(result.width())) {
    const std::int64_t source = sourceWidth;
    const std::int64_t across = result.width();
    m_firstTap.reserve(static_cast<std::size_t>(across) + 1);
    for (std::int64_t x = 0; x < across; ++x) {
        m_firstTap.push_back(static_cast<int>(m_taps.size()));
        const std::int64_t begin = x * source;
        const std::int64_t end = begin + source;
        const auto weightOf = [&](std::int64_t s) {
            if (s * across >= end) {
                return 0;
            }
            const std::int64_t from = std::max(begin, s * across) - begin;
            const std::int64_t to = std::min(end, (s + 1) * across) - begin;
            return weightBetween(from, to, source, kAcross);
        };
        for (std::int64_t s = begin / across; s * across < end; s += 2) {
            m_taps.push_back({static_cast<int>(s), static_cast<std::int16_t>(weightOf(s)),
                              static_cast<std::int16_t>(weightOf(s + 1))});
        }
    }
    m_firstTap.push_back(static_cast<int>(m_taps.size()));
}

void RowShrinker::add(const QRgb* row) {
    // The source row's share of each result row it falls in: one, or two when
    // a result row ends inside it.
    const std::int64_t down = m_result.height();
    const std::int64_t begin = m_sourceRow * down;
    const std::int64_t end = begin + down;
    ++m_sourceRow;
    for (std::int64_t at = begin; at < end && m_resultRow < m_result.height();) {
        const std::int64_t rowBegin = m_resultRow * m_sourceHeight;
        const std::int64_t rowEnd = rowBegin + m_sourceHeight;
        const std::int64_t upTo = std::min(end, rowEnd);
        addWeighed(row, static_cast<std::uint16_t>(
                            weightBetween(at - rowBegin, upTo - rowBegin, m_sourceHeight, kDown)));
        if (upTo == rowEnd) {
            finishRow();
        }
        at = upTo;
    }
}

void RowShrinker::addWeighed(const QRgb* row, std::uint16_t weight) {
    if (weight == 0) {
        return;
    }
    // A plain loop over the channels, which the compiler does many at a time.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    std::uint16_t* sums = m_column.data();
    const std::size_t channels = m_column.size() - kChannels;
    for (std::size_t i = 0; i < channels; ++i) {
        sums[i] = static_cast<std::uint16_t>(sums[i] + bytes[i] * weight);
    }
}

void RowShrinker::finishRow() {
    // A result pixel's sums are in kAcross × kDown ths of a level.
    constexpr int kShift = 15;
    static_assert(kAcross * kDown == 1 << kShift);
    QRgb* out = m_row.data();
    const std::uint16_t* column = m_column.data();
    for (std::size_t x = 0; x + 1 < m_firstTap.size(); ++x) {
        const TapPair* tap = &m_taps[static_cast<std::size_t>(m_firstTap[x])];
        const TapPair* last = &m_taps[static_cast<std::size_t>(m_firstTap[x + 1])];
#if defined(__SSE2__)
        // Both pixels' channels interleaved, each pair multiplied by its
        // pair of weights and added, in one step.
        __m128i sum = _mm_set1_epi32(1 << (kShift - 1));
        for (; tap != last; ++tap) {
            const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                column + static_cast<std::ptrdiff_t>(tap->source) * kChannels));
            const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
            const int weights = static_cast<int>(
                static_cast<std::uint32_t>(static_cast<std::uint16_t>(tap->nextWeight)) << 16U |
                static_cast<std::uint16_t>(tap->weight));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(paired, _mm_set1_epi32(weights)));
        }
        const __m128i levels = _mm_srli_epi32(sum, kShift);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(levels, levels), levels);
        out[x] = static_cast<QRgb>(_mm_cvtsi128_si32(bytes)) | (m_alpha ? 0 : 0xFF000000U);
#else
        int sums[kChannels] = {};
        for (; tap != last; ++tap) {
            const std::uint16_t* pixel =
                column + static_cast<std::ptrdiff_t>(tap->source) * kChannels;
            for (int c = 0; c < kChannels; ++c) {
                sums[c] += pixel[c] * tap->weight + pixel[c + kChannels] * tap->nextWeight;
            }
        }
        const auto level = [&](int c) { return (sums[c] + (1 << (kShift - 1))) >> kShift; };
        out[x] = qRgba(level(2), level(1), level(0), m_alpha ? level(3) : 255);
#endif
    }
    m_finished(m_resultRow, out);
    std::fill(m_column.begin(), m_column.end(), 0);
    ++m_resultRow;
}

}  // namespace glimpa
