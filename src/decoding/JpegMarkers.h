#pragma once

#include <QByteArray>

#include "decoding/Decode.h"

namespace glimpa {

// What a JPEG's bytes say before any decoding: its signature and what its
// marker segments hold.

bool isJpeg(const QByteArray& bytes);

/// The EXIF orientation (1 … 8) of a JPEG; 1 when it has none.
int jpegOrientation(const QByteArray& bytes);

/// How many bytes of a JPEG come before its first scan's data (its header
/// through the first start-of-scan segment): kMore when `bytes` ends before
/// that, kUnknown when its markers cannot be followed there.
qsizetype jpegHeaderLength(const QByteArray& bytes);

/// The number of scans (start-of-scan markers) in a JPEG.
int jpegScanCount(const QByteArray& bytes);

/// What the frame header of a JPEG says of its coding.
struct JpegFrame {
    bool progressive = false;
};
JpegFrame jpegFrame(const QByteArray& bytes);

/// The embedded ICC profile, put together from its numbered chunks; empty
/// when there is none or a chunk is missing.
QByteArray jpegIccProfile(const QByteArray& bytes);

}  // namespace glimpa
