#include "conversion/Batch.h"

#include "conversion/ConverterBridge.h"
#include "media/Converter.h"

namespace talwyn::conversion {

Batch::Batch(media::Converter& converter, QObject* parent)
    : QObject(parent), converter_(converter), bridge_(new ConverterBridge(converter, this)) {
    qRegisterMetaType<TaskEnd>();
    qRegisterMetaType<BatchSummary>();
    connect(bridge_, &ConverterBridge::progress, this, [this](const media::TProgressInfo& info) {
        if (const quint64 job = jobOf(info.TaskIndex)) {
            emit progress(job, info);
        }
    });
    connect(bridge_, &ConverterBridge::terminated, this, &Batch::onTerminated);
    connect(bridge_, &ConverterBridge::previewPicture, this,
            [this](const media::PreviewPicture& picture) {
                emit previewPicture(jobOf(picture.TaskIndex), picture);
            });
    connect(bridge_, &ConverterBridge::logLine, this, &Batch::logLine);
}

Batch::~Batch() {
    detach();
}

void Batch::detach() {
    bridge_->detach();
}

bool Batch::canStart() const {
    return state_ == BatchState::Idle || (state_ == BatchState::Finished && stoppedByUser_);
}

quint64 Batch::jobOf(int taskIndex) const {
    return taskIndex >= 0 && taskIndex < int(jobs_.size()) ? jobs_[size_t(taskIndex)] : 0;
}

void Batch::setState(BatchState state) {
    if (state_ != state) {
        state_ = state;
        emit stateChanged(state);
    }
}

bool Batch::start(std::vector<quint64> jobs, int threadCount) {
    if (!canStart()) {
        return false;
    }
    jobs_ = std::move(jobs);
    summary_ = {};
    stoppedByUser_ = false;
    setState(BatchState::Running);
    if (!converter_.Start(std::max(1, threadCount))) {
        onTerminated(media::batchEnd());  // nothing to run: over before it began
        return false;
    }
    return true;
}

void Batch::pause() {
    if (state_ == BatchState::Running) {
        converter_.Pause();
        setState(BatchState::Paused);
    }
}

void Batch::resume() {
    if (state_ == BatchState::Paused) {
        converter_.Resume();
        setState(BatchState::Running);
    }
}

void Batch::stop() {
    if (state_ != BatchState::Running && state_ != BatchState::Paused) {
        return;
    }
    stoppedByUser_ = true;
    setState(BatchState::Stopped);
    converter_.Stop(true);  // the tasks' ends and the batch's end are queued meanwhile
}

void Batch::reset() {
    if (state_ == BatchState::Finished || state_ == BatchState::Idle) {
        jobs_.clear();
        summary_ = {};
        stoppedByUser_ = false;
        setState(BatchState::Idle);
    }
}

bool Batch::afterCompletionDue() const {
    return state_ == BatchState::Finished && !stoppedByUser_ && summary_.converted > 0;
}

void Batch::onTerminated(const media::TTerminateInfo& info) {
    if (info.TaskIndex < 0) {
        if (state_ == BatchState::Running || state_ == BatchState::Paused ||
            state_ == BatchState::Stopped) {
            setState(BatchState::Finished);
            emit ended(summary_);
        }
        return;
    }
    TaskEnd end;
    end.job = jobOf(info.TaskIndex);
    end.message = QString::fromStdString(info.ExceptionMsg);
    end.outputFile = QString::fromStdString(info.OutputFile);
    end.kind = info.Kind;
    end.converted = info.ConvertedDuration;
    end.total = info.TotalDuration;
    if (info.Exception) {
        end.result = TaskEnd::Result::Failed;
        ++summary_.failed;
        summary_.problems << end.message;
    } else if (info.Finished && info.Incomplete) {
        end.result = TaskEnd::Result::Incomplete;
        ++summary_.incomplete;
        summary_.problems << end.message;
    } else if (info.Finished) {
        end.result = TaskEnd::Result::Converted;
        ++summary_.converted;
    } else {
        end.result = TaskEnd::Result::Stopped;
        ++summary_.stopped;
    }
    emit taskEnded(end);
}

}  // namespace talwyn::conversion
