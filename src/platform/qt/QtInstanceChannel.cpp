#include "platform/qt/QtInstanceChannel.h"

#include <QApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace glimpa {

namespace {

constexpr int kWaitMs = 2000;
constexpr int kAnswerWaitMs = 10000;
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
    QByteArray framed;
    QDataStream(&framed, QIODevice::WriteOnly) << static_cast<quint32>(body.size());
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
        m_path =
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + '/' + socketName();
    }
    // No socket options: with them Qt puts its socket in place of one that
    // is in use. The runtime folder is the user's alone.
    m_server.setMaxPendingConnections(8);
}

QtInstanceChannel::Answer QtInstanceChannel::handOver(const Handover& handover) {
    const QByteArray sent = message(handover);
    if (sent.size() - 4 > kMaxMessageBytes) {
        return Answer::NoAnswer;
    }
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kWaitMs)) {
        return Answer::NoProgram;
    }
    // A program that is busy (a large picture loading) reads and answers
    // once it is back in its event loop.
    const QDeadlineTimer deadline(kAnswerWaitMs);
    auto left = [&] { return static_cast<int>(deadline.remainingTime()); };
    socket.write(sent);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(left())) {
            return Answer::NoAnswer;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(left())) {
            return Answer::NoAnswer;
        }
    }
    return socket.read(1) == QByteArray(1, kTaken) ? Answer::Taken : Answer::NoAnswer;
}

bool QtInstanceChannel::listen() {
    // Two starts that find the same stale socket take turns, so that the
    // second does not remove the socket the first has just made.
    QLockFile turn(m_path + QStringLiteral(".lock"));
    turn.tryLock(kWaitMs);
    if (!m_server.listen(m_path)) {
        // A socket nobody answers on is what a program that ended without
        // closing it left behind.
        QLocalSocket probe;
        probe.connectToServer(m_path);
        if (probe.waitForConnected(kWaitMs)) {
            return false;  // another program listens: it takes the paths
        }
        QLocalServer::removeServer(m_path);
        if (!m_server.listen(m_path)) {
            return false;
        }
    }
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { take(socket); });
            // A sender that says nothing is not waited for.
            QTimer::singleShot(kWaitMs, socket, [socket] { socket->abort(); });
        }
    });
    return true;
}

void QtInstanceChannel::take(QLocalSocket* socket) {
    const QByteArray head = socket->peek(4);
    if (head.size() < 4) {
        return;
    }
    quint32 length = 0;
    QDataStream(head) >> length;
    if (length > kMaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + static_cast<qint64>(length)) {
        return;  // more to come
    }
    socket->read(4);
    Handover handover = handoverIn(socket->read(length));
    socket->write(QByteArray(1, kTaken));
    socket->flush();
    socket->disconnectFromServer();
    if (!handover.paths.empty()) {
        deliver(std::move(handover));
    }
}

void QtInstanceChannel::receive(std::function<void(const Handover&)> received) {
    m_received = std::move(received);
    QTimer::singleShot(0, this, &QtInstanceChannel::deliverWaiting);
}

void QtInstanceChannel::deliver(Handover handover) {
    if (m_received && QApplication::activeModalWidget() == nullptr && m_waiting.empty()) {
        m_received(handover);
        return;
    }
    if (m_waiting.empty()) {
        qApp->installEventFilter(this);
    }
    m_waiting.push_back(std::move(handover));
}

bool QtInstanceChannel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowUnblocked) {
        // The box is closing; its work goes on until the event loop is back.
        QTimer::singleShot(0, this, &QtInstanceChannel::deliverWaiting);
    }
    return QObject::eventFilter(watched, event);
}

void QtInstanceChannel::deliverWaiting() {
    if (!m_received || QApplication::activeModalWidget() != nullptr || m_waiting.empty()) {
        return;
    }
    qApp->removeEventFilter(this);
    const std::vector<Handover> waiting = std::move(m_waiting);
    m_waiting.clear();
    for (const Handover& handover : waiting) {
        m_received(handover);
    }
}

}  // namespace glimpa
