#pragma once

#include <cstdint>

namespace glimpa {

/// Every limit of reading and decoding, memory in bytes and sides in pixels:
/// what keeps a hostile file from taking the machine, and what the prepared
/// pictures may hold.
namespace limits {

/// The largest file held whole to be decoded; one read as it decodes may be
/// larger.
inline constexpr std::int64_t kMaxFileBytes = 512LL * 1024 * 1024;
/// The longest side of a picture.
inline constexpr int kMaxSidePx = 65535;
/// Decoded bytes (four a pixel) that one picture may take: a sixteenth of the
/// machine's memory (a 250-megapixel photo at its natural size on 16 GB and
/// more), at least kMinDecodedBytes and at most kMaxDecodedBytes. A picture
/// larger than that is decoded reduced; its natural size stays what it is.
std::int64_t decodedBytesBudget();
inline constexpr std::int64_t kMinDecodedBytes = 400LL * 1000 * 1000;
inline constexpr std::int64_t kMaxDecodedBytes = 4LL * 1000 * 1000 * 1000;
/// Bytes of coefficients that a JPEG of several scans holds while it decodes,
/// whatever the size it is decoded at: a quarter of the machine's memory, at
/// least kMinDecodedBytes. They are given back as its rows are made, so a
/// photo at its natural size never holds both whole.
std::int64_t coefficientBytesBudget();
/// Pixels that a picture may be decoded at on its way to a smaller size
/// (about a second's work): a JPEG larger than that is decoded at a smaller
/// scale, a BMP from fewer of its rows, rather than keep the program waiting.
inline constexpr std::int64_t kMaxReducingPixels = 256LL * 1000 * 1000;
/// A JPEG of more pixels than this, asked for at its natural size in a hurry,
/// comes at its smallest scale first: whole it takes longer than a key's
/// repeat.
inline constexpr std::int64_t kCoarseAbovePixels = 4LL * 1000 * 1000;
/// Scans of a progressive JPEG; each one walks all of the picture's data.
inline constexpr int kMaxProgressiveScans = 256;
/// Decoded bytes that pictures prepared ahead of need may hold together.
inline constexpr std::int64_t kPreparedBytes = 128LL * 1024 * 1024;

}  // namespace limits

/// The limits of one decode; the fuzzer tightens them.
struct DecodeLimits {
    int maxSide = limits::kMaxSidePx;
    std::int64_t maxDecodedBytes = limits::decodedBytesBudget();
    std::int64_t maxCoefficientBytes = limits::coefficientBytesBudget();
    std::int64_t maxReducingPixels = limits::kMaxReducingPixels;
    int maxProgressiveScans = limits::kMaxProgressiveScans;
};

}  // namespace glimpa
