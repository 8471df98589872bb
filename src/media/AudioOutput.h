#pragma once

#include <cstddef>
#include <cstdint>

// Where the preview player sends its sound: 16-bit interleaved samples at the rate and channel
// count the output asked for. The real one plays through the sound card; without one the player
// keeps time by the system clock.

namespace talwyn::media {

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // Starts the output for this format; false when there is no device.
    virtual bool start(int sampleRate, int channels) = 0;
    // Queues samples; returns how many frames were taken (fewer when the buffer is full).
    virtual size_t write(const int16_t* samples, size_t frames) = 0;
    // Microseconds of sound the device has played since start() or clear().
    virtual int64_t playedMicroseconds() = 0;
    // Forgets the queued sound (after a seek) and restarts the count.
    virtual void clear() = 0;
    virtual void setPaused(bool paused) = 0;
    virtual void setMuted(bool muted) = 0;
    virtual void stop() = 0;
};

}  // namespace talwyn::media
