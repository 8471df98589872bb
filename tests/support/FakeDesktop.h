#pragma once

#include "app/Desktop.h"

#include <QList>
#include <QStringList>

namespace talwyn::test {

// Records what the program asked of the desktop; opens, plays and powers off nothing.
class FakeDesktop : public app::Desktop {
  public:
    QList<QUrl> opened;
    QStringList sounds;
    int powerOffs = 0;

    void openUrl(const QUrl& url) override { opened << url; }
    void playSound(const QString& path) override { sounds << path; }
    void powerOff() override { ++powerOffs; }
};

}  // namespace talwyn::test
