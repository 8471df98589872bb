#pragma once

#include "media/Player.h"

#include <QObject>

// Brings the preview player's events onto the GUI thread as queued signals.

namespace talwyn::preview {

class PreviewBridge : public QObject {
    Q_OBJECT
  public:
    explicit PreviewBridge(media::Player& player, QObject* parent = nullptr);
    ~PreviewBridge() override;
    // Stops delivering; what is already queued is dropped as well.
    void detach();

  signals:
    void fileOpened(qint64 duration, int frameWidth, int frameHeight);
    void position(qint64 pts);
    void state(int state);  // a media::TPlayState
    void picture();
    void logLine(const QString& line);

  private:
    media::Player& player_;
    bool attached_ = true;
};

}  // namespace talwyn::preview
