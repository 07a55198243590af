#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "decoding/Decode.h"

namespace glimpa {

/// A picture file read into memory, with the stamp that tells whether the
/// file on disk is still the one that was read. A baseline JPEG or a BMP of
/// plain rows may be held only as far as its header, the rest read on while
/// it decodes: the file stays open for that, and whether it changed
/// meanwhile is asked after.
struct PictureFile {
    struct Stamp {
        std::int64_t size = -1;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    QByteArray bytes;
    Stamp stamp;
    /// Set when `bytes` holds only the header: the rest of the file.
    ReadOn readOn;
    /// Whether the file is still the one opened; a file read whole always is.
    std::function<bool()> unchanged = [] { return true; };
};

/// Opens a regular picture file (pipes, devices and folders are refused
/// without blocking). Of a file that decodes as it is read (see
/// streamedHeaderLength) only the header is read, and the rest as it
/// decodes, so that the file is never held in memory beside the picture;
/// any other is read whole when it holds at most limits::kMaxFileBytes.
std::optional<PictureFile> openPictureFile(const std::string& path, std::string& error);

/// Whether a regular file begins as a BMP, JPEG or GIF does; only its first
/// bytes are read.
bool isPictureFile(const std::string& path);

/// The stamp of the file now; a size of -1 when it cannot be looked at.
PictureFile::Stamp stampOf(const std::string& path);

}  // namespace glimpa
