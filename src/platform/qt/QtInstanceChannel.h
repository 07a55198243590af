#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/UnixSockets.h"

class QSocketNotifier;

namespace glimpa {

/// One program per user for the files a file manager opens with it: a start
/// that names files hands them to the program already running, which takes
/// them as its own. Messages come over a local socket private to the user; a
/// message that is too long or malformed is dropped. Paths that arrive while
/// a modal box waits for the user's answer are given only after the box has
/// closed and the work that opened it is done: the box's question stays about
/// what the user saw when it was asked.
class QtInstanceChannel : public QObject {
public:
    /// What a start hands over: the paths it names and the launcher's
    /// startup id it was given (empty when none).
    struct Handover {
        std::vector<std::string> paths;
        QByteArray startupId;
        bool operator==(const Handover&) const = default;
    };

    /// socketPath: where the running program listens; empty for the user's
    /// runtime folder, under a name of the display's (without such a folder,
    /// nothing is handed over and listen() fails).
    explicit QtInstanceChannel(QString socketPath = {});
    ~QtInstanceChannel() override;
    QtInstanceChannel(const QtInstanceChannel&) = delete;
    QtInstanceChannel& operator=(const QtInstanceChannel&) = delete;

    /// What became of a handover.
    enum class Answer {
        Taken,      ///< the running program took the paths: this start is done
        NoProgram,  ///< no program listens
        NoAnswer,   ///< a program listens but did not take them in time
    };
    /// Gives the paths to the program that runs already.
    Answer handOver(const Handover& handover);
    /// Takes what later starts hand over from now on, keeping it until
    /// receive() names who is given it; false when another program listens
    /// already. A socket left by a program that ended without closing it is
    /// taken over.
    bool listen();
    /// Gives what was handed over, and what is handed over from now on, to
    /// received, each from the event loop. Once closing() answers true the
    /// program takes nothing more: it stops listening, and a start that was
    /// waiting for it opens a program of its own. A program that could not
    /// listen, because another did, listens once that one has gone.
    void receive(std::function<void(const Handover&)> received, std::function<bool()> closing);

    /// The longest message taken, in bytes: more than any command line holds
    /// (Linux takes 2 MB of arguments by default), so that a start naming
    /// thousands of files still hands them over.
    static constexpr qint64 kMaxMessageBytes = 4 * 1024 * 1024;
    /// The longest startup id taken, in bytes.
    static constexpr qsizetype kMaxStartupIdBytes = 256;

private:
    void accept();
    /// Listens as soon as the socket of the program that listens is gone.
    void listenOnceFree();
    /// Reads what a sender has sent; answers and gives on a whole message.
    void take(QSocketNotifier* sender);
    void drop(QSocketNotifier* sender);
    /// Gives a handover on, now or once no modal box is open.
    void deliver(Handover handover);
    void deliverWaiting();
    /// True once the program closes; it then listens no more.
    bool stopsListening();
    void stopListening();

    QString m_path;
    unix_socket::Descriptor m_listening;
    QSocketNotifier* m_incoming = nullptr;
    /// What each start connected to this program has sent so far.
    std::map<QSocketNotifier*, QByteArray> m_senders;
    std::function<void(const Handover&)> m_received;
    std::function<bool()> m_closing;
    std::vector<Handover> m_waiting;
};

}  // namespace glimpa
