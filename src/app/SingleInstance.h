#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalSocket;

namespace talwyn::app {

// One window per user. The first start listens on a local socket in the user's private runtime
// folder; a later start hands its files and folders to it and ends, so "Open with" and a second
// launch land in the window that is already open.
//
// On the socket a start sends the 8 bytes "TWAVOPN1", the length of what follows as 4 bytes
// (big-endian), then every argument as its file-name bytes followed by a NUL byte (no path holds
// one); the window answers "OK\n". A client that sends anything else, or is not done within
// kClientMs, is dropped, so no client can hold the window up.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Role {
        First,       // this start listens and opens the window
        HandedOver,  // a window already open took the arguments
        Unanswered,  // a window is open but did not confirm in time
        Alone,       // no socket could be had: a window of its own, without listening
    };

    static constexpr int kClientMs = 5000;
    static constexpr int kAnswerMs = 10000;
    static constexpr quint32 kMaxMessage = 16u << 20;

    // name: the socket's path; defaultName() for the program.
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "talwynwav-" and the user id, in $XDG_RUNTIME_DIR (or the private folder Qt makes when it
    // is missing or not private); empty when there is no such folder.
    static QString defaultName();

    // Hands the arguments, made absolute against the current folder, to the window that listens;
    // when none does (also when a crash left its socket behind), listens itself. Waits at most
    // kAnswerMs and a little, and only here, before there is a window.
    Role start(const QStringList& arguments);

    const QString& name() const { return name_; }
    // Why the last start() gave Role::Unanswered or Role::Alone.
    const QString& problem() const { return problem_; }

  signals:
    // The absolute arguments of a later start, after it has been answered.
    void received(const QStringList& arguments);
    // A client that was dropped, and why.
    void logLine(const QString& line);

  private:
    enum class Handover { Done, NobodyListens, Unanswered };
    Handover handOver(const QStringList& arguments);
    bool listen();
    void acceptClients();
    // Reads what the client sent so far; true once the whole message has been taken.
    bool readClient(QLocalSocket* socket, QByteArray& buffer);
    void dropClient(QLocalSocket* socket, const QString& why);

    QString name_;
    QString problem_;
    QLocalServer server_;
};

}  // namespace talwyn::app
