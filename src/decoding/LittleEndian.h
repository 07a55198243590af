#pragma once

#include <QByteArray>
#include <cstdint>

namespace glimpa {

/// An unsigned number of `width` bytes (at most 4) stored least significant
/// byte first at `at`; the caller has checked that they lie in `bytes`.
inline std::uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8U) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace glimpa
