#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>

namespace glimpa {

/// A picture file read into memory in one go, so that decoding never sees a
/// file that changes under it, with the stamp that tells whether the file on
/// disk is still the one that was read.
struct PictureFile {
    struct Stamp {
        std::int64_t size = -1;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    QByteArray bytes;
    Stamp stamp;
};

/// Reads a regular file of at most limits::kMaxFileBytes; pipes, devices and
/// folders are refused without blocking.
std::optional<PictureFile> readPictureFile(const std::string& path, std::string& error);

/// Whether a regular file begins as a BMP, JPEG or GIF does; only its first
/// bytes are read.
bool isPictureFile(const std::string& path);

/// The stamp of the file now; a size of -1 when it cannot be looked at.
PictureFile::Stamp stampOf(const std::string& path);

}  // namespace glimpa
