#pragma once

#include "conversion/ConverterBridge.h"
#include "media/ConverterEvents.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace talwyn::media {
class Converter;
}

// One batch of conversions as a state machine: started, paused, resumed, stopped by the user, and
// ended when the converter's last task is over. It owns the bridge from the converter's threads,
// knows which job each task belongs to, tells how each task ended, and decides whether the action
// after the batch is due. The window and the command-line tool both drive their batches with it.

namespace talwyn::conversion {

enum class BatchState {
    Idle,  // no batch has run since the list was last emptied
    Running,
    Paused,
    Stopped,   // the user stopped it; the running tasks are winding down
    Finished,  // the last task has ended
};

// How one task ended.
struct TaskEnd {
    enum class Result { Converted, Incomplete, Failed, Stopped };
    quint64 job = 0;
    Result result = Result::Stopped;
    QString message;     // why it failed, or what is missing
    QString outputFile;  // the file really written
    media::ErrorKind kind = media::ErrorKind::None;
    int64_t converted = 0, total = 0;  // microseconds
};

struct BatchSummary {
    int converted = 0, incomplete = 0, failed = 0, stopped = 0;
    QStringList problems;  // a line for each failed or incomplete file
};

class Batch : public QObject {
    Q_OBJECT
  public:
    explicit Batch(media::Converter& converter, QObject* parent = nullptr);
    ~Batch() override;

    BatchState state() const { return state_; }
    bool stoppedByUser() const { return stoppedByUser_; }
    // Whether a start is possible now: before any batch, or after one the user stopped.
    bool canStart() const;

    // Runs the converter's tasks, threadCount at once; jobs[i] is the job of task i. False, with
    // the reason in LastErrMsg of the converter, when nothing could start (the batch then ends at
    // once with the tasks it could not run).
    bool start(std::vector<quint64> jobs, int threadCount);
    void pause();
    void resume();
    void stop();
    // After the list was emptied: ready for a new batch.
    void reset();
    // No event is delivered any more (the window is closing).
    void detach();

    // The batch ended by itself and converted at least one file.
    bool afterCompletionDue() const;
    const BatchSummary& summary() const { return summary_; }
    // The job of a task of the running batch, or 0.
    quint64 jobOf(int taskIndex) const;

  signals:
    void stateChanged(talwyn::conversion::BatchState state);
    void progress(quint64 job, const talwyn::media::TProgressInfo& info);
    void taskEnded(const talwyn::conversion::TaskEnd& end);
    // Once per batch, after its last taskEnded.
    void ended(const talwyn::conversion::BatchSummary& summary);
    void previewPicture(quint64 job, const talwyn::media::PreviewPicture& picture);
    void logLine(const QString& line);

  private:
    void setState(BatchState state);
    void onTerminated(const media::TTerminateInfo& info);

    media::Converter& converter_;
    ConverterBridge* bridge_ = nullptr;
    BatchState state_ = BatchState::Idle;
    bool stoppedByUser_ = false;
    std::vector<quint64> jobs_;
    BatchSummary summary_;
};

}  // namespace talwyn::conversion

Q_DECLARE_METATYPE(talwyn::conversion::TaskEnd)
Q_DECLARE_METATYPE(talwyn::conversion::BatchSummary)
