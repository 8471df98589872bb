#pragma once

#include "media/ConverterEvents.h"

#include <QObject>

namespace talwyn::media {
class Converter;
}

// Brings the converter's events, and the FFmpeg log, from the worker threads onto the GUI
// thread as queued signals. While it lives it is the converter's only receiver.

namespace talwyn::conversion {

class ConverterBridge : public QObject {
    Q_OBJECT
  public:
    explicit ConverterBridge(media::Converter& converter, QObject* parent = nullptr);
    ~ConverterBridge() override;

    // Stops delivering; what is already queued is dropped as well.
    void detach();

  signals:
    void progress(const talwyn::media::TProgressInfo& info);
    void terminated(const talwyn::media::TTerminateInfo& info);
    void previewPicture(const talwyn::media::PreviewPicture& picture);
    // "#" + thread id + "." + level + ": " + text
    void logLine(const QString& line);

  private:
    media::Converter& converter_;
    bool attached_ = true;
};

}  // namespace talwyn::conversion

Q_DECLARE_METATYPE(talwyn::media::TProgressInfo)
Q_DECLARE_METATYPE(talwyn::media::TTerminateInfo)
Q_DECLARE_METATYPE(talwyn::media::PreviewPicture)
