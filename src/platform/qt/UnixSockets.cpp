#include "platform/qt/UnixSockets.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace glimpa::unix_socket {

namespace {

std::optional<sockaddr_un> addressOf(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.isEmpty() || name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return address;
}

const sockaddr* asSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

Descriptor newSocket() {
    return Descriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

/// Waits until the socket is ready for events or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    pollfd ready{fd, events, 0};
    int found = 0;
    do {
        found = ::poll(&ready, 1, static_cast<int>(deadline.remainingTime()));
    } while (found < 0 && errno == EINTR);
    return found > 0;
}

}  // namespace

Descriptor::~Descriptor() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        Descriptor old(m_fd);
        m_fd = other.release();
    }
    return *this;
}

int Descriptor::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

Descriptor connectTo(const QString& path, const QDeadlineTimer& deadline) {
    const auto address = addressOf(path);
    Descriptor socket = address ? newSocket() : Descriptor();
    if (!socket) {
        return socket;
    }
    while (::connect(socket.get(), asSockaddr(*address), sizeof *address) != 0) {
        // A full queue of connections waiting to be accepted: the listening
        // program is busy; try again for a while.
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired()) {
            return Descriptor();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return socket;
}

Descriptor listenAt(const QString& path, int backlog, const QDeadlineTimer& probeDeadline) {
    const auto address = addressOf(path);
    Descriptor socket = address ? newSocket() : Descriptor();
    if (!socket) {
        return socket;
    }
    if (::bind(socket.get(), asSockaddr(*address), sizeof *address) != 0) {
        if (errno != EADDRINUSE || connectTo(path, probeDeadline)) {
            return Descriptor();  // another program listens there
        }
        // Nobody answers there: what a program that ended without removing
        // its socket left behind.
        ::unlink(address->sun_path);
        if (::bind(socket.get(), asSockaddr(*address), sizeof *address) != 0) {
            return Descriptor();
        }
    }
    if (::listen(socket.get(), backlog) != 0) {
        ::unlink(address->sun_path);
        return Descriptor();
    }
    return socket;
}

bool sendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t now = ::send(fd, bytes.constData() + sent,
                                   static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (now > 0) {
            sent += now;
        } else if (now == 0 ||
                   (errno != EINTR && (errno != EAGAIN || !waitFor(fd, POLLOUT, deadline)))) {
            return false;
        }
    }
    return true;
}

int receiveByte(int fd, const QDeadlineTimer& deadline) {
    while (true) {
        unsigned char byte = 0;
        const ssize_t now = ::recv(fd, &byte, 1, 0);
        if (now == 1) {
            return byte;
        }
        if (now == 0 || (now < 0 && errno != EINTR && errno != EAGAIN)) {
            return kClosed;
        }
        if (now < 0 && errno == EAGAIN && !waitFor(fd, POLLIN, deadline)) {
            return -1;
        }
    }
}

bool receiveAvailable(int fd, QByteArray& bytes, qsizetype limit) {
    char chunk[64 * 1024];
    while (bytes.size() <= limit) {
        const ssize_t now = ::recv(fd, chunk, sizeof chunk, 0);
        if (now > 0) {
            bytes.append(chunk, now);
        } else if (now == 0 || (errno != EINTR && errno != EAGAIN)) {
            return false;
        } else if (errno == EAGAIN) {
            return true;
        }
    }
    return false;
}

}  // namespace glimpa::unix_socket
