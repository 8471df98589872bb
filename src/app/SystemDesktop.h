#pragma once

#include "app/Desktop.h"

#include <memory>

class QSoundEffect;

namespace talwyn::app {

// The real desktop: the default applications, Qt Multimedia and systemd-logind.
class SystemDesktop : public Desktop {
  public:
    SystemDesktop();
    ~SystemDesktop() override;

    void openUrl(const QUrl& url) override;
    void playSound(const QString& path) override;
    void powerOff() override;

  private:
    std::unique_ptr<QSoundEffect> sound_;
};

}  // namespace talwyn::app
