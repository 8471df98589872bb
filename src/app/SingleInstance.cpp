#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <memory>

#include <unistd.h>

namespace talwyn::app {
namespace {

const QByteArray kMagic = QByteArrayLiteral("TWAVOPN1");
constexpr qsizetype kHeader = 8 + 4;
const QByteArray kAnswer = QByteArrayLiteral("OK\n");

QByteArray message(const QStringList& arguments) {
    QByteArray payload;
    for (const QString& argument : arguments) {
        // Relative names mean this start's folder, which the window does not share.
        payload += QFile::encodeName(argument.isEmpty() ? argument
                                                        : QFileInfo(argument).absoluteFilePath());
        payload += '\0';
    }
    QByteArray length(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), length.data());
    return kMagic + length + payload;
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptClients);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        return {};
    }
    return folder + QStringLiteral("/talwynwav-") + QString::number(::getuid());
}

SingleInstance::Role SingleInstance::start(const QStringList& arguments) {
    problem_.clear();
    if (name_.isEmpty()) {
        problem_ = QStringLiteral("no private runtime folder for the socket");
        return Role::Alone;
    }
    // Two starts at the same moment must not both find nobody listening and both listen. A lock
    // left by a crashed start names a process that is gone and is taken over.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    if (!lock.tryLock(kClientMs + kAnswerMs)) {
        problem_ = QStringLiteral("the start lock %1 stayed taken").arg(lock.fileName());
    }
    switch (handOver(arguments)) {
        case Handover::Done:
            return Role::HandedOver;
        case Handover::Unanswered:
            return Role::Unanswered;
        case Handover::NobodyListens:
            break;
    }
    // Nobody answers on the socket, so what lies there was left by a window that crashed.
    QLocalServer::removeServer(name_);
    return listen() ? Role::First : Role::Alone;
}

SingleInstance::Handover SingleInstance::handOver(const QStringList& arguments) {
    const QByteArray sent = message(arguments);
    if (sent.size() - kHeader > qsizetype(kMaxMessage)) {
        problem_ = QStringLiteral("the arguments are longer than %1 bytes").arg(kMaxMessage);
        return Handover::Unanswered;
    }
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kClientMs)) {
        const QLocalSocket::LocalSocketError error = socket.error();
        if (error == QLocalSocket::ServerNotFoundError ||
            error == QLocalSocket::ConnectionRefusedError) {
            return Handover::NobodyListens;
        }
        problem_ = socket.errorString();
        return Handover::Unanswered;
    }
    QElapsedTimer clock;
    clock.start();
    const auto left = [&clock] { return int(std::max<qint64>(0, kAnswerMs - clock.elapsed())); };
    socket.write(sent);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(left())) {
    }
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(left())) {
        answer += socket.readAll();
    }
    answer += socket.readAll();
    if (answer.startsWith(kAnswer)) {
        return Handover::Done;
    }
    problem_ = QStringLiteral("the window on %1 did not confirm: %2")
                   .arg(name_, socket.state() == QLocalSocket::ConnectedState
                                   ? QStringLiteral("no answer in %1 ms").arg(kAnswerMs)
                                   : socket.errorString());
    return Handover::Unanswered;
}

bool SingleInstance::listen() {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name_)) {
        problem_ = QStringLiteral("cannot listen on %1: %2").arg(name_, server_.errorString());
        return false;
    }
    return true;
}

void SingleInstance::acceptClients() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, socket] {
            dropClient(socket,
                       QStringLiteral("its message was not complete within %1 ms").arg(kClientMs));
        });
        const auto read = [this, socket, buffer, deadline] {
            if (deadline->isActive() && readClient(socket, *buffer)) {
                deadline->stop();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        deadline->start(kClientMs);
        if (socket->bytesAvailable() > 0) {
            read();
        }
    }
}

bool SingleInstance::readClient(QLocalSocket* socket, QByteArray& buffer) {
    buffer += socket->readAll();
    if (!kMagic.startsWith(buffer.left(kMagic.size()))) {
        dropClient(socket, QStringLiteral("it is not a start of this program"));
        return true;
    }
    if (buffer.size() < kHeader) {
        return false;
    }
    const quint32 length = qFromBigEndian<quint32>(buffer.constData() + kMagic.size());
    if (length > kMaxMessage) {
        dropClient(socket, QStringLiteral("it announced %1 bytes").arg(length));
        return true;
    }
    if (buffer.size() < kHeader + qsizetype(length)) {
        return false;
    }
    QByteArray payload = buffer.mid(kHeader, length);
    if (!payload.isEmpty() && !payload.endsWith('\0')) {
        dropClient(socket, QStringLiteral("its last argument is not ended"));
        return true;
    }
    payload.chop(1);
    QStringList arguments;
    if (length > 0) {
        for (const QByteArray& argument : payload.split('\0')) {
            arguments << QFile::decodeName(argument);
        }
    }
    socket->write(kAnswer);
    socket->disconnectFromServer();
    emit received(arguments);
    return true;
}

void SingleInstance::dropClient(QLocalSocket* socket, const QString& why) {
    emit logLine(QStringLiteral("Another start's connection was dropped: ") + why);
    socket->abort();
    socket->deleteLater();
}

}  // namespace talwyn::app
