#pragma once

#include "media/ConverterEvents.h"
#include "media/OutputTarget.h"
#include "media/Probe.h"
#include "media/TaskControl.h"
#include "media/TaskOptions.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The converter: a list of tasks (one input, one output each) run on worker threads, up to a
// chosen number at once, in task order. Events come on the worker threads through plain
// callbacks: progress a few times a second per task, one termination per task that ran, and one
// final termination (TaskIndex -1) when the batch has ended.

namespace talwyn::media {

enum class ThreadPriority { tpIdle, tpLowest, tpLower, tpNormal };

class Converter {
  public:
    struct Events {
        std::function<void(const TProgressInfo&)> onProgress;
        std::function<void(const TTerminateInfo&)> onTerminate;
        std::function<void(const PreviewPicture&)> onPreview;
    };

    Converter();
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Replaces the event receivers; returns only when no old receiver is running any more.
    void setEvents(Events events);

    // Checks that the libraries have the versions the program was built with and hold the
    // encoders named; false with LastErrMsg() otherwise.
    bool LoadAVLib(const std::vector<std::string>& requiredEncoders);
    bool AVLibLoaded() const { return loaded_; }

    // Opens the input; the new task's index, or -1 with LastErrMsg().
    int AddTask(const std::string& fileName, TInputOptions options = {});
    // Gives the task its output; false with LastErrMsg() when the settings cannot work for it.
    bool SetOutputFile(int taskIndex, const std::string& fileName, TOutputOptions options);
    bool RemoveTask(int taskIndex);
    bool ClearTasks();
    bool Exchange(int first, int second);
    int TaskCount() const;
    // The description of a task's input, as the probe gave it.
    std::string TaskInfoText(int taskIndex) const;
    // What the probe found in a task's input: duration, streams; and the file's size.
    TFileStreamInfo TaskStreamInfo(int taskIndex) const;
    int64_t TaskFileSize(int taskIndex) const;
    // The output record a task was given, if any.
    std::optional<TInputOptions> TaskInput(int taskIndex) const;
    std::optional<TOutputOptions> TaskOutput(int taskIndex) const;

    // Runs the tasks, threadCount at once; returns at once.
    bool Start(int threadCount);
    // Drops the tasks not started and ends the running ones; with waitFor, returns when they have
    // ended. The converter is idle afterwards.
    void Stop(bool waitFor);
    void Pause();
    void Resume();
    bool Working() const;

    void SetPreview(bool on) { preview_ = on; }
    bool Preview() const { return preview_; }
    void setThreadPriority(ThreadPriority priority) { priority_ = priority; }
    ThreadPriority threadPriority() const { return priority_; }

    std::string LastErrMsg() const;

  private:
    struct Task {
        TInputOptions input;
        TFileStreamInfo info;
        std::string infoText;
        int64_t fileSize = 0;
        std::optional<TOutputOptions> output;
        std::string refusal;  // set at start when the task must not run
    };
    void worker();
    void runTask(int index, const Task& task);
    void emitTerminate(const TTerminateInfo& info);
    bool validIndex(int index) const { return index >= 0 && index < int(tasks_.size()); }
    void setError(std::string text);
    void joinWorkers();

    mutable std::mutex mutex_;  // tasks_, next_, running_, lastError_
    std::vector<Task> tasks_;
    size_t next_ = 0;
    int running_ = 0;
    std::string lastError_;
    std::vector<std::thread> workers_;

    std::mutex eventsMutex_;
    Events events_;

    std::vector<std::string> inputs_;  // of the batch, read by its workers
    OutputNames names_;
    TaskControl control_;
    std::atomic<bool> preview_{false};
    std::atomic<ThreadPriority> priority_{ThreadPriority::tpNormal};
    std::atomic<bool> working_{false};
    bool loaded_ = false;
};

}  // namespace talwyn::media
