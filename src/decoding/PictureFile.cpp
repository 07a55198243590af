#include "decoding/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "decoding/Decode.h"
#include "decoding/Limits.h"

namespace glimpa {

namespace {

PictureFile::Stamp stampFrom(const struct stat& info) {
    return {static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Enough for every signature the decoders know.
constexpr qsizetype kSignatureBytes = 16;

/// Reads exactly this many bytes; false when the file ends or fails first.
bool readInto(int fd, char* into, qsizetype count) {
    qsizetype done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, into + done, static_cast<std::size_t>(count - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += got;
    }
    return true;
}

}  // namespace

PictureFile::Stamp stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    return stampFrom(info);
}

std::optional<PictureFile> readPictureFile(const std::string& path, std::string& error) {
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        error = "cannot open the file";
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return std::nullopt;
    }
    if (info.st_size > limits::kMaxFileBytes) {
        error = "the file is too large for a picture";
        return std::nullopt;
    }
    PictureFile result{QByteArray(), stampFrom(info)};
    // The signature first: a file that is no picture is refused before the
    // rest of it, however large, is read.
    const qsizetype head = std::min<qsizetype>(kSignatureBytes, info.st_size);
    result.bytes.resize(head);
    if (!readInto(file.get(), result.bytes.data(), head)) {
        error = "the file could not be read to its end";
        return std::nullopt;
    }
    if (!hasPictureSignature(result.bytes)) {
        error = "not a BMP, JPEG or GIF picture";
        return std::nullopt;
    }
    result.bytes.resize(static_cast<qsizetype>(info.st_size));
    if (!readInto(file.get(), result.bytes.data() + head, result.bytes.size() - head)) {
        error = "the file could not be read to its end";
        return std::nullopt;
    }
    return result;
}

}  // namespace glimpa
