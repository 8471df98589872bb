#include "app/SystemDesktop.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QSoundEffect>
#include <QtDebug>

namespace talwyn::app {

SystemDesktop::SystemDesktop() = default;
SystemDesktop::~SystemDesktop() = default;

void SystemDesktop::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void SystemDesktop::playSound(const QString& path) {
    if (!sound_) {
        sound_ = std::make_unique<QSoundEffect>();
    }
    sound_->stop();
    sound_->setSource(QUrl::fromLocalFile(path));
    sound_->play();
}

void SystemDesktop::powerOff() {
    QDBusInterface logind(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    // false: no forcing; the user may be asked by the desktop or another session.
    const QDBusMessage reply = logind.call(QStringLiteral("PowerOff"), false);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qWarning("PowerOff refused: %s", qPrintable(reply.errorMessage()));
    }
}

}  // namespace talwyn::app
