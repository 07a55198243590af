#include "platform/qt/QtInstanceChannel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cerrno>

#include "platform/qt/QtModality.h"

namespace glimpa {

namespace {

constexpr int kWaitMs = 2000;
constexpr int kAnswerWaitMs = 10000;
constexpr int kBacklog = 16;
constexpr char kTaken = '1';

// A message: the byte count of what follows (32 bits, big-endian), then the
// startup id and the paths, each ended by a zero byte (paths may hold any
// other byte).
QByteArray message(const QtInstanceChannel::Handover& handover) {
    QByteArray body = handover.startupId + '\0';
    for (const std::string& path : handover.paths) {
        body.append(path.data(), static_cast<qsizetype>(path.size()));
        body.append('\0');
    }
    QByteArray framed(4, '\0');
    qToBigEndian(static_cast<quint32>(body.size()), framed.data());
    return framed + body;
}

QtInstanceChannel::Handover handoverIn(const QByteArray& body) {
    QtInstanceChannel::Handover handover;
    const QList<QByteArray> parts = body.split('\0');
    // A startup id is a short line of printable text; anything else is
    // dropped rather than handed to the window system.
    const QByteArray& id = parts.front();
    if (id.size() <= QtInstanceChannel::kMaxStartupIdBytes &&
        std::all_of(id.begin(), id.end(), [](char c) { return c > ' ' && c < 127; })) {
        handover.startupId = id;
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!parts[i].isEmpty()) {
            handover.paths.push_back(parts[i].toStdString());
        }
    }
    return handover;
}

/// One program for each display a user has: a file opened in one session
/// (a remote desktop beside the local one) is shown in that session.
QString socketName() {
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    }
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("glimpa-instance") + (display.isEmpty() ? QString() : '-' + display);
}

}  // namespace

QtInstanceChannel::QtInstanceChannel(QString socketPath) : m_path(std::move(socketPath)) {
    if (m_path.isEmpty()) {
        // Without a runtime folder that is the user's alone (one that others
        // may enter, say) there is no private place for the socket, and no
        // channel.
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!folder.isEmpty()) {
            m_path = folder + '/' + socketName();
        }
    }
}

QtInstanceChannel::~QtInstanceChannel() {
    stopListening();
}

QtInstanceChannel::Answer QtInstanceChannel::handOver(const Handover& handover) {
    if (m_path.isEmpty()) {
        return Answer::NoProgram;
    }
    const QByteArray sent = message(handover);
    if (sent.size() - 4 > kMaxMessageBytes) {
        return Answer::NoAnswer;
    }
    const unix_socket::Descriptor socket = unix_socket::connectTo(m_path, QDeadlineTimer(kWaitMs));
    if (!socket) {
        return Answer::NoProgram;
    }
    // A program that is busy (a large picture loading) reads and answers
    // once it is back in its event loop.
    const QDeadlineTimer deadline(kAnswerWaitMs);
    unix_socket::sendAll(socket.get(), sent, deadline);
    const int answer = unix_socket::receiveByte(socket.get(), deadline);
    if (answer == kTaken) {
        return Answer::Taken;
    }
    // Hung up on unanswered: the program is on its way out.
    return answer == unix_socket::kClosed ? Answer::NoProgram : Answer::NoAnswer;
}

bool QtInstanceChannel::listen() {
    if (m_path.isEmpty()) {
        return false;
    }
    // Two starts that find the same stale socket take turns, so that the
    // second does not remove the socket the first has just made.
    QLockFile turn(m_path + QStringLiteral(".lock"));
    turn.tryLock(kWaitMs);
    m_listening = unix_socket::listenAt(m_path, kBacklog, QDeadlineTimer(kWaitMs));
    if (!m_listening) {
        return false;
    }
    m_incoming = new QSocketNotifier(m_listening.get(), QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &QtInstanceChannel::accept);
    return true;
}

void QtInstanceChannel::accept() {
    while (true) {
        const int fd = ::accept4(m_listening.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0 && errno == EINTR) {
            continue;
        }
        if (fd < 0) {
            if (errno != EAGAIN) {
                // Out of descriptors, say: try again in a while rather than
                // be told of the same waiting start at once, again and again.
                m_incoming->setEnabled(false);
                QTimer::singleShot(kWaitMs, m_incoming,
                                   [incoming = m_incoming] { incoming->setEnabled(true); });
            }
            return;
        }
        auto* sender = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_senders[sender];
        connect(sender, &QSocketNotifier::activated, this, [this, sender] { take(sender); });
        // A sender that says nothing is not waited for.
        QTimer::singleShot(kWaitMs, sender, [this, sender] { drop(sender); });
    }
}

void QtInstanceChannel::take(QSocketNotifier* sender) {
    const auto found = m_senders.find(sender);
    if (found == m_senders.end()) {
        return;
    }
    QByteArray& bytes = found->second;
    const int fd = static_cast<int>(sender->socket());
    // A sender that has gone gave up waiting (it opens its files itself):
    // what it sent is not taken.
    if (!unix_socket::receiveAvailable(fd, bytes, 4 + kMaxMessageBytes)) {
        drop(sender);
        return;
    }
    if (bytes.size() < 4) {
        return;
    }
    const quint32 length = qFromBigEndian<quint32>(bytes.constData());
    if (length > kMaxMessageBytes) {
        drop(sender);
        return;
    }
    if (bytes.size() < 4 + static_cast<qsizetype>(length)) {
        return;  // more to come
    }
    if (stopsListening()) {
        return;
    }
    Handover handover = handoverIn(bytes.mid(4, length));
    ::send(fd, &kTaken, 1, MSG_NOSIGNAL);
    drop(sender);
    if (!handover.paths.empty()) {
        deliver(std::move(handover));
    }
}

void QtInstanceChannel::drop(QSocketNotifier* sender) {
    if (m_senders.erase(sender) == 0) {
        return;
    }
    sender->setEnabled(false);
    ::close(static_cast<int>(sender->socket()));
    sender->deleteLater();
}

void QtInstanceChannel::receive(std::function<void(const Handover&)> received,
                                std::function<bool()> closing) {
    m_received = std::move(received);
    m_closing = std::move(closing);
    QTimer::singleShot(0, this, &QtInstanceChannel::deliverWaiting);
    if (!m_listening && !m_path.isEmpty()) {
        listenOnceFree();
    }
}

void QtInstanceChannel::listenOnceFree() {
    // The program that listens removes its socket when it closes; one killed
    // leaves it behind, and the next start that names files takes it over.
    auto* folder = new QFileSystemWatcher({QFileInfo(m_path).absolutePath()}, this);
    connect(folder, &QFileSystemWatcher::directoryChanged, this, [this, folder] {
        if (m_closing() || (!QFileInfo::exists(m_path) && listen())) {
            folder->disconnect(this);
            folder->deleteLater();
        }
    });
}

void QtInstanceChannel::deliver(Handover handover) {
    if (m_received && QApplication::activeModalWidget() == nullptr && m_waiting.empty()) {
        m_received(handover);
        return;
    }
    m_waiting.push_back(std::move(handover));
    if (m_waiting.size() == 1) {
        whenNoModalBox(this, [this] { deliverWaiting(); });
    }
}

void QtInstanceChannel::deliverWaiting() {
    if (!m_received || QApplication::activeModalWidget() != nullptr || m_waiting.empty() ||
        stopsListening()) {
        return;
    }
    const std::vector<Handover> waiting = std::move(m_waiting);
    m_waiting.clear();
    for (const Handover& handover : waiting) {
        m_received(handover);
    }
}

bool QtInstanceChannel::stopsListening() {
    if (!m_closing || !m_closing()) {
        return false;
    }
    stopListening();
    return true;
}

void QtInstanceChannel::stopListening() {
    // Senders not yet answered see the connection close, and so does any
    // start still waiting to be accepted.
    while (!m_senders.empty()) {
        drop(m_senders.begin()->first);
    }
    if (m_listening) {
        m_incoming->setEnabled(false);
        m_incoming->deleteLater();
        m_incoming = nullptr;
        m_listening = unix_socket::Descriptor();
        QFile::remove(m_path);
    }
}

}  // namespace glimpa
