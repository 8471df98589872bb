#include "preview/QtAudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace talwyn::preview {

// Half a second of sound between the player and the sink.
class QtAudioOutput::Buffer : public QIODevice {
  public:
    explicit Buffer(size_t capacity) : data_(capacity) {}

    size_t push(const char* bytes, size_t count) {
        std::lock_guard lock(mutex_);
        const size_t taken = std::min(count, data_.size() - size_);
        // At most two blocks: up to the end of the storage, then from its start.
        const size_t tail = (head_ + size_) % data_.size();
        const size_t first = std::min(taken, data_.size() - tail);
        std::memcpy(data_.data() + tail, bytes, first);
        std::memcpy(data_.data(), bytes + first, taken - first);
        size_ += taken;
        return taken;
    }
    void forget() {
        std::lock_guard lock(mutex_);
        head_ = size_ = 0;
        consumed_ = 0;
    }
    int64_t consumed() const { return consumed_; }

  protected:
    qint64 readData(char* out, qint64 wanted) override {
        std::lock_guard lock(mutex_);
        const size_t count = std::min(size_t(std::max<qint64>(0, wanted)), size_);
        const size_t first = std::min(count, data_.size() - head_);
        std::memcpy(out, data_.data() + head_, first);
        std::memcpy(out + first, data_.data(), count - first);
        head_ = (head_ + count) % data_.size();
        size_ -= count;
        consumed_ += int64_t(count);
        return qint64(count);
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    qint64 bytesAvailable() const override { return 1 << 16; }
    bool isSequential() const override { return true; }

  private:
    std::mutex mutex_;
    std::vector<char> data_;
    size_t head_ = 0, size_ = 0;
    std::atomic<int64_t> consumed_{0};
};

QtAudioOutput::QtAudioOutput() = default;

QtAudioOutput::~QtAudioOutput() {
    stop();
}

bool QtAudioOutput::start(int sampleRate, int channels) {
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        return false;
    }
    sampleRate_ = sampleRate;
    channels_ = channels;
    buffer_ = std::make_unique<Buffer>(size_t(sampleRate) * channels * 2 / 2);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setVolume(muted_ ? 0.0 : 1.0);
    sink_->start(buffer_.get());
    // The sink keeps about its buffer's worth of sound taken but not yet heard.
    latencyBytes_ = std::max<qsizetype>(0, sink_->bufferSize());
    return sink_->error() == QAudio::NoError;
}

size_t QtAudioOutput::write(const int16_t* samples, size_t frames) {
    if (!buffer_) {
        return frames;
    }
    const size_t bytesPerFrame = size_t(channels_) * 2;
    return buffer_->push(reinterpret_cast<const char*>(samples), frames * bytesPerFrame) /
           bytesPerFrame;
}

int64_t QtAudioOutput::playedMicroseconds() {
    if (!buffer_ || sampleRate_ == 0) {
        return 0;
    }
    // What the sink took, less what it still holds: the sound heard, which the pictures follow.
    const int64_t heard = std::max<int64_t>(0, buffer_->consumed() - latencyBytes_.load());
    return heard * 1000000 / (int64_t(sampleRate_) * channels_ * 2);
}

void QtAudioOutput::clear() {
    if (buffer_) {
        buffer_->forget();
    }
}

void QtAudioOutput::setPaused(bool paused) {
    if (sink_) {
        paused ? sink_->suspend() : sink_->resume();
    }
}

void QtAudioOutput::setMuted(bool muted) {
    muted_ = muted;
    if (sink_) {
        sink_->setVolume(muted ? 0.0 : 1.0);
    }
}

void QtAudioOutput::stop() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    buffer_.reset();
}

}  // namespace talwyn::preview
