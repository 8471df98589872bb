#pragma once

#include "media/AudioOutput.h"

#include <QIODevice>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class QAudioSink;

// The player's sound through Qt Multimedia: the sink pulls from a ring buffer that the player's
// thread fills.

namespace talwyn::preview {

class QtAudioOutput : public media::AudioOutput {
  public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    bool start(int sampleRate, int channels) override;
    size_t write(const int16_t* samples, size_t frames) override;
    int64_t playedMicroseconds() override;
    void clear() override;
    void setPaused(bool paused) override;
    void setMuted(bool muted) override;
    void stop() override;

  private:
    class Buffer;

    // start, setPaused, setMuted and stop come from the GUI thread, where the sink lives; write,
    // clear and playedMicroseconds from the player's thread touch only the buffer.
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
    int sampleRate_ = 0, channels_ = 0;
    bool muted_ = false;
    std::atomic<int64_t> latencyBytes_{0};
};

}  // namespace talwyn::preview
