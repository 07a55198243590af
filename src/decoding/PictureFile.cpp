#include "decoding/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    result.bytes.resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < result.bytes.size()) {
        const ssize_t got = ::read(file.get(), result.bytes.data() + done,
                                   static_cast<std::size_t>(result.bytes.size() - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            error = "the file could not be read to its end";
            return std::nullopt;
        }
        done += got;
    }
    return result;
}

}  // namespace glimpa
