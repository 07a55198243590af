#include "decoding/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

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
    FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;
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

namespace {

/// A regular file opened, and the first bytes of it that tell its format:
/// a file that is no picture is refused before the rest of it, however
/// large, is read.
struct OpenedPicture {
    FileHandle file;
    struct stat info {};
    QByteArray head;
};

std::optional<OpenedPicture> openPicture(const std::string& path, std::string& error) {
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    OpenedPicture opened{
        FileHandle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)), {}, {}};
    if (opened.file.get() < 0) {
        error = "cannot open the file";
        return std::nullopt;
    }
    if (::fstat(opened.file.get(), &opened.info) != 0 || !S_ISREG(opened.info.st_mode)) {
        error = "not a regular file";
        return std::nullopt;
    }
    opened.head.resize(std::min<qsizetype>(kSignatureBytes, opened.info.st_size));
    if (!readInto(opened.file.get(), opened.head.data(), opened.head.size())) {
        error = "the file could not be read to its end";
        return std::nullopt;
    }
    if (!hasPictureSignature(opened.head)) {
        error = "not a BMP, JPEG or GIF picture";
        return std::nullopt;
    }
    return opened;
}

}  // namespace

bool isPictureFile(const std::string& path) {
    std::string error;
    return openPicture(path, error).has_value();
}

namespace {

/// The whole of a file opened, read on from where its head ends.
std::optional<PictureFile> readWhole(OpenedPicture opened, std::string& error) {
    PictureFile result;
    result.bytes = std::move(opened.head);
    result.stamp = stampFrom(opened.info);
    const qsizetype head = result.bytes.size();
    result.bytes.resize(static_cast<qsizetype>(opened.info.st_size));
    if (!readInto(opened.file.get(), result.bytes.data() + head, result.bytes.size() - head)) {
        error = "the file could not be read to its end";
        return std::nullopt;
    }
    return result;
}

}  // namespace

std::optional<PictureFile> openPictureFile(const std::string& path, std::string& error) {
    std::optional<OpenedPicture> opened = openPicture(path, error);
    if (!opened) {
        return std::nullopt;
    }
    QByteArray& head = opened->head;
    const auto size = static_cast<qsizetype>(opened->info.st_size);
    auto readHeadTo = [&](qsizetype length) {
        const qsizetype had = head.size();
        head.resize(length);
        return readInto(opened->file.get(), head.data() + had, length - had);
    };
    constexpr qsizetype kStep = 64 * 1024;
    qsizetype header = streamedHeaderLength(head);
    while (header == kMore && head.size() < size) {
        if (!readHeadTo(std::min(size, head.size() + kStep))) {
            error = "the file could not be read to its end";
            return std::nullopt;
        }
        header = streamedHeaderLength(head);
    }
    // Pixels that begin far into the file (past a megabyte) are not worth
    // holding a header that long for: such a file is read whole, if at all.
    if (header > head.size() && header <= std::min(size, 16 * kStep) && !readHeadTo(header)) {
        error = "the file could not be read to its end";
        return std::nullopt;
    }
    if (header < 0 || header > head.size() || head.size() == size) {
        if (size > limits::kMaxFileBytes) {
            error = "the file is too large for a picture";
            return std::nullopt;
        }
        return readWhole(std::move(*opened), error);
    }
    const PictureFile::Stamp stamp = stampFrom(opened->info);
    auto file = std::make_shared<FileHandle>(std::move(opened->file));
    PictureFile result;
    result.bytes = std::move(head);
    result.stamp = stamp;
    result.readOn = [file, left = size - result.bytes.size()](char* into, qsizetype count) mutable {
        for (;;) {
            const ssize_t got =
                ::read(file->get(), into, static_cast<std::size_t>(std::min(count, left)));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            left -= std::max<qsizetype>(got, 0);
            return std::max<qsizetype>(got, 0);
        }
    };
    result.unchanged = [file, stamp] {
        struct stat info {};
        return ::fstat(file->get(), &info) == 0 && stampFrom(info) == stamp;
    };
    return result;
}

}  // namespace glimpa
