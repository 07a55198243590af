#include "decoding/RowSink.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "decoding/OpaqueImage.h"

namespace glimpa {

namespace {

/// The size wanted of a picture of `natural` pixels, before the budget.
QSize wantedSize(QSize natural, QSize size, DecodeFit fit) {
    if (size.isEmpty() || size.width() > natural.width() || size.height() > natural.height()) {
        return natural;
    }
    if (fit == DecodeFit::Exactly) {
        return size;
    }
    const double scale = std::max(static_cast<double>(size.width()) / natural.width(),
                                  static_cast<double>(size.height()) / natural.height());
    return QSize(std::max(size.width(), static_cast<int>(std::ceil(natural.width() * scale))),
                 std::max(size.height(), static_cast<int>(std::ceil(natural.height() * scale))))
        .boundedTo(natural);
}

/// How many rows a picture of `rows` passes on when it passes every
/// `stride`-th.
int rowsTaken(int rows, int stride) {
    return static_cast<int>((std::int64_t{rows} + stride - 1) / stride);
}

}  // namespace

RowSink::RowSink(QSize natural, QSize size, DecodeFit fit, const DecodeLimits& limits,
                 bool fromBottom, bool alpha)
    : m_natural(natural), m_fromBottom(fromBottom) {
    constexpr const char* kTooLarge = "the picture needs more memory than allowed";
    if (natural.width() > limits.maxSide || natural.height() > limits.maxSide) {
        m_error = kTooLarge;
        return;
    }
    const QSize wanted = wantedSize(natural, size, fit);
    m_target = withinBudget(wanted, limits.maxDecodedBytes);
    const std::int64_t pixels = std::int64_t{natural.width()} * natural.height();
    if (m_target != natural && pixels > limits.maxReducingPixels) {
        m_stride = static_cast<int>((pixels + limits.maxReducingPixels - 1) /
                                    std::max<std::int64_t>(1, limits.maxReducingPixels));
        const int taken = rowsTaken(natural.height(), m_stride);
        if (m_target.height() > taken) {
            m_target = QSize(std::max(1, static_cast<int>(std::int64_t{m_target.width()} * taken /
                                                          m_target.height())),
                             taken);
        }
    }
    m_largest = m_target != wanted;
    if (decodedBytes(m_target) > limits.maxDecodedBytes) {
        m_error = kTooLarge;
        return;
    }
    m_image = QImage(m_target, alpha ? QImage::Format_ARGB32_Premultiplied : kOpaqueFormat);
    if (m_image.isNull()) {
        m_error = "out of memory";
        return;
    }
    if (m_target != natural) {
        m_shrinker.emplace(
            natural.width(), rowsTaken(natural.height(), m_stride), m_target,
            [this](int y, const QRgb* row) { store(rowOf(y, m_target.height()), row); }, alpha);
    }
}

void RowSink::store(int y, const QRgb* row) {
    if (m_image.format() == kOpaqueFormat) {
        storeOpaqueRow(row, m_target.width(), m_image.scanLine(y));
    } else {
        std::memcpy(m_image.scanLine(y), row, static_cast<std::size_t>(m_target.width()) * 4);
    }
}

void RowSink::add(const QRgb* row) {
    if (takesNext()) {
        if (m_shrinker) {
            m_shrinker->add(row);
        } else {
            store(rowOf(m_arrived, m_natural.height()), row);
        }
    }
    ++m_arrived;
}

DecodedImage RowSink::finish() {
    DecodedImage result;
    result.natural = m_natural;
    result.error = m_error;
    if (m_error.empty()) {
        result.image = std::move(m_image);
        result.largest = m_largest;
    }
    return result;
}

}  // namespace glimpa
