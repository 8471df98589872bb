#pragma once

#include "media/Converter.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <vector>

// Watches a converter's events: which tasks ran at the same time, how they ended, and when the
// batch was over.

namespace talwyn::test {

class ConverterRun {
  public:
    explicit ConverterRun(media::Converter& converter) : converter_(converter) {
        converter_.setEvents({
            [this](const media::TProgressInfo& info) {
                std::lock_guard lock(mutex_);
                active_.insert(info.TaskIndex);
                maxActive_ = std::max(maxActive_, int(active_.size()));
                progress_[info.TaskIndex].push_back(info);
                changed_.notify_all();
            },
            [this](const media::TTerminateInfo& info) {
                std::lock_guard lock(mutex_);
                if (info.TaskIndex < 0) {
                    ++finals_;
                } else {
                    active_.erase(info.TaskIndex);
                    ends_[info.TaskIndex] = info;
                }
                changed_.notify_all();
            },
            {},
        });
    }
    ~ConverterRun() { converter_.setEvents({}); }

    // Waits for the final event; false after the time limit.
    bool waitForEnd(int seconds = 120) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(seconds),
                                 [this] { return finals_ > 0; });
    }
    // Waits until the task has reported progress at least `count` times.
    bool waitForProgress(int task, size_t count = 1, int seconds = 60) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(seconds),
                                 [&] { return progress_[task].size() >= count || finals_ > 0; });
    }
    int finals() {
        std::lock_guard lock(mutex_);
        return finals_;
    }
    int maxActive() {
        std::lock_guard lock(mutex_);
        return maxActive_;
    }
    std::map<int, media::TTerminateInfo> ends() {
        std::lock_guard lock(mutex_);
        return ends_;
    }
    std::vector<media::TProgressInfo> progress(int task) {
        std::lock_guard lock(mutex_);
        return progress_[task];
    }

  private:
    media::Converter& converter_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<int> active_;
    int maxActive_ = 0;
    int finals_ = 0;
    std::map<int, media::TTerminateInfo> ends_;
    std::map<int, std::vector<media::TProgressInfo>> progress_;
};

}  // namespace talwyn::test
