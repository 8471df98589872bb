// The main window's batch: start, stop, pause and resume, the progress and end of each task,
// and what happens when the batch is over.

#include "app/AppPaths.h"
#include "app/Desktop.h"
#include "app/Dialogs.h"
#include "app/LivePreviewWindow.h"
#include "app/MainWindow.h"
#include "app/OfficeComboBox.h"
#include "conversion/Batch.h"
#include "conversion/TaskBuilder.h"
#include "joblist/TextFormats.h"
#include "media/Converter.h"
#include "settings/OptionsDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QTableView>
#include <QToolButton>

namespace talwyn::app {

namespace {

using conversion::BatchState;

// What each state of the batch lets the user do; before any batch, whether the list has rows.
struct Commands {
    bool startTool, startMenu, stop, pause, resume, add, removeRename, clear, settings;
};

Commands commandsFor(BatchState state, bool rows, bool stoppedByUser) {
    switch (state) {
        case BatchState::Idle:
            return {rows, rows, false, false, false, true, rows, rows, true};
        case BatchState::Running:
            return {false, false, true, true, false, false, false, false, false};
        case BatchState::Paused:
            return {false, false, true, false, true, false, false, false, false};
        case BatchState::Stopped:
            return {true, false, false, false, false, false, false, false, true};
        case BatchState::Finished:
            break;
    }
    return {stoppedByUser, false, false, false, false, false, false, true, true};
}

QString durationText(int64_t microseconds) {
    return joblist::SecToDate(microseconds / 1000000);
}

}  // namespace

bool MainWindow::batchRunning() const {
    const BatchState state = batch_->state();
    return state == BatchState::Running || state == BatchState::Paused ||
           state == BatchState::Stopped;
}

void MainWindow::applyBatchState() {
    const Commands c = commandsFor(batch_->state(), !jobs_.isEmpty(), batch_->stoppedByUser());
    ui_.startButton->setEnabled(c.startTool);
    ui_.startItem->setEnabled(c.startMenu);
    ui_.stopButton->setEnabled(c.stop);
    ui_.stopItem->setEnabled(c.stop);
    ui_.pauseButton->setEnabled(c.pause);
    ui_.pauseItem->setEnabled(c.pause);
    ui_.resumeButton->setEnabled(c.resume);
    ui_.resumeItem->setEnabled(c.resume);
    showPauseButton(batch_->state() != BatchState::Paused);
    ui_.addButton->setEnabled(c.add);
    for (QAction* item : {ui_.addFileItem, ui_.addFilesItem, ui_.addFolderItem}) {
        item->setEnabled(c.add);
    }
    for (QAction* item : {ui_.removeItem, ui_.renameItem, ui_.applyToAllItem}) {
        item->setEnabled(c.removeRename);
    }
    ui_.removeButton->setEnabled(c.removeRename);
    ui_.renameButton->setEnabled(c.removeRename);
    ui_.clearButton->setEnabled(c.clear);
    ui_.clearItem->setEnabled(c.clear);
    if (c.settings != ui_.profileBox->isEnabledTo(this)) {
        c.settings ? EnableControlsAfterWork() : DisableControlsForWork();
    }
}

void MainWindow::BuildConversionTasks() {
    const conversion::BuildResult built = conversion::BuildConversionTasks(
        jobs_, slots_, *converter_, fields_.FileOutPutPath, options_->overwriteFile());
    taskJobs_ = built.taskRows;
    buildFailures_.clear();
    for (const auto& failure : built.failures) {
        const int row = jobs_.positionOf(failure.row);
        if (row < 0) {
            continue;
        }
        const QString message = QStringLiteral("无法转换 %1: %2")
                                    .arg(jobs_.text(row, joblist::InputFile), failure.message);
        jobs_.setText(row, joblist::Progress, QStringLiteral("失败"));
        jobs_.setNote(row, message);
        buildFailures_ << message;
    }
}

void MainWindow::btnStartClick() {
    if (!batch_->canStart() || jobs_.isEmpty()) {
        return;
    }
    CommitRename();
    static const media::ThreadPriority priorities[] = {
        media::ThreadPriority::tpIdle, media::ThreadPriority::tpLowest,
        media::ThreadPriority::tpLower, media::ThreadPriority::tpNormal};
    converter_->setThreadPriority(priorities[options_->threadPriority()]);
    if (!ensureLibraries()) {
        return;
    }
    // Every row starts afresh: what an earlier batch said of it is no longer true.
    for (int row = 0; row < jobs_.rowCount(); ++row) {
        for (const joblist::JobColumn column :
             {joblist::Progress, joblist::Speed, joblist::CurrentTime, joblist::OutputSize}) {
            jobs_.setText(row, column, {});
        }
        jobs_.setNote(row, {});
    }
    BuildConversionTasks();
    if (!batch_->start(taskJobs_, std::max(1, options_->threadCount()))) {
        appendLog(QString::fromStdString(converter_->LastErrMsg()));
    }
}

void MainWindow::btnStopClick() {
    batch_->stop();
}

void MainWindow::btnPauseClick() {
    batch_->pause();
}

void MainWindow::btnResumeClick() {
    batch_->resume();
}

void MainWindow::onProgress(quint64 job, const media::TProgressInfo& info) {
    const int row = jobs_.positionOf(job);
    if (row < 0) {
        return;
    }
    // "100%" waits until the file is complete under its name.
    jobs_.setText(row, joblist::Progress,
                  info.TotalDuration > 0
                      ? QString::number(std::min<int64_t>(
                            99, info.CurrentDuration * 100 / info.TotalDuration)) +
                            QLatin1Char('%')
                      : QStringLiteral("N/A"));
    if (info.FPS > 0) {
        jobs_.setText(row, joblist::Speed, QString::number(info.FPS));
    }
    jobs_.setText(row, joblist::CurrentTime, durationText(info.CurrentDuration));
    jobs_.setText(row, joblist::OutputSize, joblist::SizeText(info.CurrentSize));
    if (!info.OutputFile.empty()) {
        jobs_.setText(row, joblist::OutputFile,
                      QFileInfo(QString::fromStdString(info.OutputFile)).fileName());
    }
}

void MainWindow::onTaskEnded(const conversion::TaskEnd& end) {
    const int row = jobs_.positionOf(end.job);
    if (row < 0) {
        return;
    }
    using Result = conversion::TaskEnd::Result;
    if (!end.outputFile.isEmpty() && end.result != Result::Failed) {
        jobs_.setText(row, joblist::OutputFile, QFileInfo(end.outputFile).fileName());
    }
    switch (end.result) {
        case Result::Converted:
            jobs_.setText(row, joblist::Progress, QStringLiteral("100%"));
            break;
        case Result::Incomplete:
            jobs_.setText(row, joblist::Progress, QStringLiteral("不完整"));
            jobs_.setText(
                row, joblist::CurrentTime,
                durationText(end.converted) + QStringLiteral(" / ") + durationText(end.total));
            jobs_.setNote(row, end.message);
            break;
        case Result::Failed:
            jobs_.setText(row, joblist::Progress, QStringLiteral("失败"));
            jobs_.setNote(row, end.message);
            break;
        case Result::Stopped:
            break;  // it keeps what it showed when the user stopped
    }
    if (!end.message.isEmpty()) {
        appendLog(end.message);
    }
}

void MainWindow::onBatchEnded(const conversion::BatchSummary& summary) {
    if (livePreviewWindow_) {
        livePreviewWindow_->hide();
    }
    // A batch the user stopped does nothing more, and one that converted nothing shuts nothing
    // down; the action runs once, and nothing waits for the user before it.
    if (batch_->afterCompletionDue()) {
        runAfterCompletion();
    }
    const QStringList problems = buildFailures_ + summary.problems;
    if (!problems.isEmpty()) {
        dialogs_.notice(this, QStringLiteral("转换结束：成功 %1 个，失败 %2 个\n\n%3")
                                  .arg(summary.converted)
                                  .arg(problems.size())
                                  .arg(problems.join(QLatin1Char('\n'))));
    }
}

void MainWindow::runAfterCompletion() {
    switch (options_->afterDone()) {
        case 0:
            OpenOutputFolder();
            break;
        case 1:
            ShutDownComputer();
            break;
        case 2:
            PlayPromptSound();
            break;
        default:
            break;
    }
}

void MainWindow::ShutDownComputer() {
    if (dialogs_.shutdownCountdown(this, 60)) {
        desktop_.powerOff();
    }
}

void MainWindow::PlayPromptSound() {
    const QString sound = AppPaths::dataFile(QStringLiteral("sounds/ring001.wav"));
    if (QFileInfo::exists(sound)) {
        desktop_.playSound(sound);
    }
}

void MainWindow::SetPreview(bool on) {
    livePreview_ = on;
    if (converter_) {
        converter_->SetPreview(on);
    }
    if (!on && livePreviewWindow_) {
        livePreviewWindow_->hide();
    }
}

void MainWindow::onPreviewPicture(quint64 job, const media::PreviewPicture& picture) {
    if (!livePreview_ || !batchRunning() || picture.width <= 0) {
        return;
    }
    if (!livePreviewWindow_) {
        livePreviewWindow_ = new LivePreviewWindow(this);
    }
    const QImage image(picture.rgb32.data(), picture.width, picture.height, picture.width * 4,
                       QImage::Format_RGB32);
    const int row = jobs_.positionOf(job);
    static_cast<LivePreviewWindow*>(livePreviewWindow_)
        ->showPicture(image.copy(), row >= 0
                                        ? QFileInfo(jobs_.text(row, joblist::InputFile)).fileName()
                                        : QString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CancelRename();
    stopPreview();
    // No event reaches the window any more while the converter winds down.
    if (batch_) {
        batch_->detach();
    }
    if (converter_) {
        converter_->Stop(true);
    }
    event->accept();
}

}  // namespace talwyn::app
