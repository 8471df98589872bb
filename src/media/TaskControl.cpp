#include "media/TaskControl.h"

namespace talwyn::media {

void TaskControl::pause() {
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void TaskControl::resume() {
    {
        std::lock_guard lock(mutex_);
        paused_ = false;
    }
    changed_.notify_all();
}

void TaskControl::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        paused_ = false;
    }
    changed_.notify_all();
}

void TaskControl::reset() {
    std::lock_guard lock(mutex_);
    stopped_ = false;
}

bool TaskControl::waitWhilePaused() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !paused_ || stopped_; });
    return !stopped_;
}

int TaskControl::interruptCallback(void* opaque) {
    return static_cast<TaskControl*>(opaque)->stopRequested() ? 1 : 0;
}

}  // namespace talwyn::media
