#pragma once

#include <QString>
#include <QUrl>

namespace talwyn::app {

// What the program asks of the desktop: open documents, folders and web pages, play a sound, and
// power the machine off. Tests use a fake that only records.
class Desktop {
  public:
    virtual ~Desktop() = default;

    virtual void openUrl(const QUrl& url) = 0;
    // Plays a WAV file without waiting for it.
    virtual void playSound(const QString& path) = 0;
    // Asks the system to power off; other programs may still refuse.
    virtual void powerOff() = 0;
};

}  // namespace talwyn::app
