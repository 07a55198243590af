// Feeds arbitrary bytes to the picture loader under limits taken from the
// input: the loader must give back either a picture within the limits or a
// failure, and never crash, hang or overrun memory.
#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "decoding/Decode.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);  // lives as long as the fuzzing process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    glimpa::DecodeLimits limits;
    limits.maxDecodedBytes = (1 + (data[0] % 32)) * 1024LL * 1024;
    limits.maxSide = 256 + (data[1] % 64) * 1024;
    limits.maxReducingPixels = limits.maxDecodedBytes;
    limits.maxCoefficientBytes = 4 * limits.maxDecodedBytes;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2),
                           static_cast<qsizetype>(size - 2));
    const auto check = [&](const glimpa::DecodedImage& result) {
        if (result) {
            require(!result.image.isNull());
            require(result.natural.width() <= limits.maxSide &&
                    result.natural.height() <= limits.maxSide);
            require(static_cast<qint64>(result.image.width()) * result.image.height() * 4 <=
                    limits.maxDecodedBytes);
        } else {
            require(!result.error.empty());
        }
    };
    check(glimpa::decodePicture(bytes, QSize(), limits));
    check(glimpa::decodePicture(bytes, QSize(32, 24), limits));
    check(glimpa::decodeCoarsely(bytes, limits));
    // Shrunk while it decodes: exactly the size asked for when it is larger.
    const QSize small(7, 5);
    const glimpa::DecodedImage shrunk = glimpa::decodePictureAt(bytes, small, limits);
    check(shrunk);
    require(!shrunk || shrunk.natural.width() < small.width() ||
            shrunk.natural.height() < small.height() || shrunk.image.size() == small);
    // Read on from its file a few bytes at a time after its header, a
    // picture decodes as from all of its bytes at once.
    const qsizetype header = glimpa::streamedHeaderLength(bytes);
    if (header >= 0 && header <= bytes.size()) {
        const qsizetype step = 1 + data[0] % 97;
        qsizetype at = header;
        const glimpa::ReadOn readOn = [&](char* into, qsizetype count) {
            const qsizetype got = std::min({count, step, bytes.size() - at});
            std::memcpy(into, bytes.constData() + at, static_cast<std::size_t>(got));
            at += got;
            return got;
        };
        const glimpa::DecodedImage read =
            glimpa::decodePictureAt(bytes.left(header), small, limits, readOn);
        require(static_cast<bool>(read) == static_cast<bool>(shrunk));
        require(!read || read.image == shrunk.image);
    }
    return 0;
}
