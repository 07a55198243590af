#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

namespace glimpa::unix_socket {

/// A file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    /// Hands the descriptor on; this one no longer closes it.
    int release();

private:
    int m_fd;
};

/// A non-blocking socket connected to the one listening at path; an empty
/// descriptor when nothing listens there (or nothing accepts before the
/// deadline).
Descriptor connectTo(const QString& path, const QDeadlineTimer& deadline);

/// A non-blocking socket listening at path. A socket file left there by a
/// program that ended without removing it is replaced; one that a program
/// listens on (it accepts before probeDeadline) is not: empty descriptor.
Descriptor listenAt(const QString& path, int backlog, const QDeadlineTimer& probeDeadline);

/// Sends all of bytes, waiting for room until the deadline.
bool sendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline);

/// What receiveByte() gives when the other end closed (or failed) first.
constexpr int kClosed = -2;
/// Receives one byte, waiting for it until the deadline; -1 when none came
/// in time, kClosed when the other end closed first.
int receiveByte(int fd, const QDeadlineTimer& deadline);

/// Appends what has arrived to bytes, without waiting; false when the other
/// end has closed (or failed), or bytes have grown beyond limit.
bool receiveAvailable(int fd, QByteArray& bytes, qsizetype limit);

}  // namespace glimpa::unix_socket
