#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// Pause and stop for the running tasks: the pipelines ask between packets, and blocking reads and
// writes ask through FFmpeg's interrupt callback.

namespace talwyn::media {

class TaskControl {
  public:
    void pause();
    void resume();
    // Ends every wait and the pause; stopRequested() stays true until reset().
    void stop();
    // Ready for new work; a pause asked for before it stays in force.
    void reset();

    bool stopRequested() const { return stopped_.load(); }
    // Blocks while paused; returns false when the work is to stop.
    bool waitWhilePaused();

    // For AVIOInterruptCB: the TaskControl as opaque.
    static int interruptCallback(void* opaque);

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = false;
    std::atomic<bool> stopped_{false};
};

}  // namespace talwyn::media
