#include "media/Converter.h"

#include "media/OutputPlan.h"
#include "media/PathRule.h"
#include "media/Transcoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace talwyn::media {
namespace {

namespace fs = std::filesystem;

void applyPriority(ThreadPriority priority) {
    switch (priority) {
        case ThreadPriority::tpIdle: {
            sched_param parameters{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameters);
            break;
        }
        case ThreadPriority::tpLowest:
            setpriority(PRIO_PROCESS, id_t(gettid()), 19);
            break;
        case ThreadPriority::tpLower:
            setpriority(PRIO_PROCESS, id_t(gettid()), 10);
            break;
        case ThreadPriority::tpNormal:
            break;
    }
}

}  // namespace

Converter::Converter() = default;

Converter::~Converter() {
    setEvents({});
    Stop(true);
}

void Converter::setEvents(Events events) {
    std::lock_guard lock(eventsMutex_);
    events_ = std::move(events);
}

bool Converter::LoadAVLib(const std::vector<std::string>& requiredEncoders) {
    const struct {
        const char* name;
        unsigned runtime, built;
    } libraries[] = {
        {"libavcodec", avcodec_version() >> 16, LIBAVCODEC_VERSION_MAJOR},
        {"libavformat", avformat_version() >> 16, LIBAVFORMAT_VERSION_MAJOR},
        {"libavfilter", avfilter_version() >> 16, LIBAVFILTER_VERSION_MAJOR},
        {"libavutil", avutil_version() >> 16, LIBAVUTIL_VERSION_MAJOR},
        {"libswscale", swscale_version() >> 16, LIBSWSCALE_VERSION_MAJOR},
        {"libswresample", swresample_version() >> 16, LIBSWRESAMPLE_VERSION_MAJOR},
    };
    for (const auto& library : libraries) {
        if (library.runtime != library.built) {
            setError(std::string(library.name) + " 的版本 (" + std::to_string(library.runtime) +
                     ") 与程序编译时的版本 (" + std::to_string(library.built) + ") 不同");
            return false;
        }
    }
    std::string missing;
    for (const std::string& name : requiredEncoders) {
        if (!avcodec_find_encoder_by_name(name.c_str())) {
            missing += (missing.empty() ? "" : ", ") + name;
        }
    }
    if (!missing.empty()) {
        setError("FFmpeg 库中缺少编码器: " + missing + " (请安装 libavcodec-extra)");
        return false;
    }
    loaded_ = true;
    return true;
}

void Converter::setError(std::string text) {
    std::lock_guard lock(mutex_);
    lastError_ = std::move(text);
}

std::string Converter::LastErrMsg() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

int Converter::AddTask(const std::string& fileName, TInputOptions options) {
    Probe probe;
    if (!probe.LoadFile(fileName, options.FileFormat)) {
        setError(probe.LastErrMsg());
        return -1;
    }
    options.FileName = fileName;
    std::lock_guard lock(mutex_);
    tasks_.push_back({std::move(options),
                      probe.FileStreamInfo(),
                      probe.FileInfoText(),
                      probe.FileSize(),
                      {},
                      {}});
    return int(tasks_.size()) - 1;
}

bool Converter::SetOutputFile(int taskIndex, const std::string& fileName, TOutputOptions options) {
    std::unique_lock lock(mutex_);
    if (!validIndex(taskIndex)) {
        lastError_ = "没有编号为 " + std::to_string(taskIndex) + " 的任务";
        return false;
    }
    options.FileName = fileName;
    // An output that names an input, or a taken name, gets a name of its own when its task
    // starts; here only the folder and the settings are checked.
    const std::string output = normalPath(fileName);
    std::error_code error;
    if (!fs::is_directory(fs::path(output).parent_path(), error)) {
        lastError_ = "输出文件夹 " + fs::path(output).parent_path().string() + " 不存在";
        return false;
    }
    const OutputPlan plan = makeOutputPlan(options, tasks_[taskIndex].info);
    if (!plan.error.empty()) {
        lastError_ = plan.error;
        return false;
    }
    tasks_[taskIndex].output = std::move(options);
    return true;
}

bool Converter::RemoveTask(int taskIndex) {
    std::lock_guard lock(mutex_);
    if (working_ || !validIndex(taskIndex)) {
        lastError_ = working_ ? "Cannot RemoveTask while working." : "没有这个任务";
        return false;
    }
    tasks_.erase(tasks_.begin() + taskIndex);
    return true;
}

bool Converter::ClearTasks() {
    std::lock_guard lock(mutex_);
    if (working_) {
        lastError_ = "Cannot ClearTasks while working.";
        return false;
    }
    tasks_.clear();
    return true;
}

bool Converter::Exchange(int first, int second) {
    std::lock_guard lock(mutex_);
    if (working_ || !validIndex(first) || !validIndex(second)) {
        lastError_ = working_ ? "Cannot Exchange while working." : "没有这个任务";
        return false;
    }
    std::swap(tasks_[first], tasks_[second]);
    return true;
}

int Converter::TaskCount() const {
    std::lock_guard lock(mutex_);
    return int(tasks_.size());
}

std::string Converter::TaskInfoText(int taskIndex) const {
    std::lock_guard lock(mutex_);
    return validIndex(taskIndex) ? tasks_[taskIndex].infoText : std::string();
}

TFileStreamInfo Converter::TaskStreamInfo(int taskIndex) const {
    std::lock_guard lock(mutex_);
    return validIndex(taskIndex) ? tasks_[taskIndex].info : TFileStreamInfo();
}

int64_t Converter::TaskFileSize(int taskIndex) const {
    std::lock_guard lock(mutex_);
    return validIndex(taskIndex) ? tasks_[taskIndex].fileSize : 0;
}

std::optional<TInputOptions> Converter::TaskInput(int taskIndex) const {
    std::lock_guard lock(mutex_);
    return validIndex(taskIndex) ? std::optional(tasks_[taskIndex].input) : std::nullopt;
}

std::optional<TOutputOptions> Converter::TaskOutput(int taskIndex) const {
    std::lock_guard lock(mutex_);
    return validIndex(taskIndex) ? tasks_[taskIndex].output : std::nullopt;
}

bool Converter::Working() const {
    return working_;
}

bool Converter::Start(int threadCount) {
    if (working_) {
        setError("Cannot Start while working.");
        return false;
    }
    joinWorkers();  // the threads of the last batch have all but ended
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) {
        lastError_ = "没有可以转换的任务";
        return false;
    }
    // Names are chosen when each task starts; what a killed run left in the folders goes now.
    std::set<std::string> folders;
    for (int i = 0; i < int(tasks_.size()); ++i) {
        Task& task = tasks_[i];
        task.refusal.clear();
        if (!task.output) {
            task.refusal = "任务 " + std::to_string(i + 1) + " 没有输出文件";
            continue;
        }
        folders.insert(fs::path(normalPath(task.output->FileName)).parent_path().string());
    }
    for (const std::string& folder : folders) {
        removeStaleTemporaries(folder);
    }
    inputs_.clear();
    for (const Task& task : tasks_) {
        inputs_.push_back(task.input.FileName);
    }
    control_.reset();
    next_ = 0;
    const int count = std::max(1, std::min(threadCount, int(tasks_.size())));
    running_ = count;
    working_ = true;
    for (int i = 0; i < count; ++i) {
        workers_.emplace_back(&Converter::worker, this);
    }
    return true;
}

void Converter::worker() {
    applyPriority(priority_);
    for (;;) {
        int index = -1;
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (control_.stopRequested() || next_ >= tasks_.size()) {
                break;
            }
            index = int(next_++);
            task = tasks_[index];
        }
        runTask(index, task);
    }
    bool last = false;
    {
        std::lock_guard lock(mutex_);
        last = --running_ == 0;
    }
    if (last) {
        working_ = false;
        emitTerminate(batchEnd());
    }
}

void Converter::runTask(int index, const Task& task) {
    TTerminateInfo end;
    end.TaskIndex = index;
    if (!task.refusal.empty()) {
        end.Exception = true;
        end.Kind = ErrorKind::Settings;
        end.ExceptionMsg = task.refusal;
        emitTerminate(end);
        return;
    }
    Transcoder::Callbacks callbacks;
    callbacks.progress = [this](const TProgressInfo& info) {
        std::lock_guard lock(eventsMutex_);
        if (events_.onProgress) {
            events_.onProgress(info);
        }
    };
    callbacks.wantsPreview = [this] { return preview_.load(); };
    callbacks.preview = [this](const PreviewPicture& picture) {
        std::lock_guard lock(eventsMutex_);
        if (events_.onPreview) {
            events_.onPreview(picture);
        }
    };
    const auto isInput = [this](const std::string& path) {
        return std::any_of(inputs_.begin(), inputs_.end(),
                           [&](const std::string& input) { return sameFile(input, path); });
    };
    Transcoder transcoder(index, task.input, *task.output, task.info, control_, callbacks, names_,
                          isInput);
    const TranscodeResult result = transcoder.run();
    end.Finished = result.finished;
    end.Exception = result.failed;
    end.Incomplete = result.incomplete;
    end.ConvertedDuration = result.converted;
    end.TotalDuration = result.total;
    end.OutputFile = result.outputFile;
    end.Kind = result.kind;
    if (result.failed) {
        end.ExceptionMsg = "转换 " + task.input.FileName + " 失败: " + result.message;
    } else if (result.incomplete) {
        end.ExceptionMsg = "转换 " + task.input.FileName + " 不完整: " + result.message;
    }
    emitTerminate(end);
}

void Converter::emitTerminate(const TTerminateInfo& info) {
    std::lock_guard lock(eventsMutex_);
    if (events_.onTerminate) {
        events_.onTerminate(info);
    }
}

void Converter::Stop(bool waitFor) {
    {
        std::lock_guard lock(mutex_);
        next_ = tasks_.size();
    }
    control_.stop();
    if (waitFor) {
        joinWorkers();
    }
}

void Converter::joinWorkers() {
    for (std::thread& worker : workers_) {
        if (worker.get_id() == std::this_thread::get_id()) {
            worker.detach();  // asked from one of the workers' own events
        } else if (worker.joinable()) {
            worker.join();
        }
    }
    workers_.clear();
}

void Converter::Pause() {
    control_.pause();
}

void Converter::Resume() {
    control_.resume();
}

}  // namespace talwyn::media
