// The main window's batch: start, stop, pause and resume, the progress and end of each task,
// and what happens when the batch is over.

#include "app/AppPaths.h"
#include "app/Desktop.h"
#include "app/Dialogs.h"
#include "app/LivePreviewWindow.h"
#include "app/MainWindow.h"
#include "conversion/ConverterBridge.h"
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

void MainWindow::applyCommandState(const CommandState& state) {
    ui_.startButton->setEnabled(state.startTool);
    ui_.startItem->setEnabled(state.startMenu);
    ui_.stopButton->setEnabled(state.stop);
    ui_.stopItem->setEnabled(state.stop);
    ui_.pauseButton->setEnabled(state.pause);
    ui_.pauseItem->setEnabled(state.pause);
    ui_.resumeButton->setEnabled(state.resume);
    ui_.resumeItem->setEnabled(state.resume);
    ui_.addButton->setEnabled(state.add);
    for (QAction* item : {ui_.addFileItem, ui_.addFilesItem, ui_.addFolderItem}) {
        item->setEnabled(state.add);
    }
    ui_.removeButton->setEnabled(state.removeRename);
    ui_.removeItem->setEnabled(state.removeRename);
    ui_.renameButton->setEnabled(state.removeRename);
    ui_.renameItem->setEnabled(state.removeRename);
    ui_.applyToAllItem->setEnabled(state.removeRename);
    ui_.clearButton->setEnabled(state.clear);
    ui_.clearItem->setEnabled(state.clear);
}

void MainWindow::BuildConversionTasks() {
    const conversion::BuildResult built = conversion::BuildConversionTasks(
        jobs_, slots_, *converter_, fields_.FileOutPutPath, options_->overwriteFile());
    taskRows_ = built.taskRows;
    for (const auto& failure : built.failures) {
        const int row = jobs_.positionOf(failure.row);
        dialogs_.warning(this, QStringLiteral("无法转换 %1: %2")
                                   .arg(row >= 0 ? jobs_.text(row, joblist::InputFile) : QString(),
                                        failure.message));
    }
}

void MainWindow::btnStartClick() {
    if (batchRunning_) {
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
    BuildConversionTasks();
    applyCommandState({false, false, true, true, false, false, false, false});
    showPauseButton(true);
    DisableControlsForWork();
    batchStoppedByUser_ = false;
    batchRunning_ = true;
    const int threads = std::max(1, options_->threadCount());
    if (!converter_->Start(threads)) {
        // Nothing could be built; the batch is over before it began.
        appendLog(QString::fromStdString(converter_->LastErrMsg()));
        onTerminated(media::batchEnd());
    }
}

void MainWindow::btnStopClick() {
    applyCommandState({true, false, false, false, false, false, false, false});
    showPauseButton(true);
    EnableControlsAfterWork();
    batchStoppedByUser_ = true;
    converter_->Stop(true);
}

void MainWindow::btnPauseClick() {
    ui_.pauseButton->setEnabled(false);
    ui_.pauseItem->setEnabled(false);
    ui_.resumeButton->setEnabled(true);
    ui_.resumeItem->setEnabled(true);
    showPauseButton(false);
    converter_->Pause();
}

void MainWindow::btnResumeClick() {
    ui_.resumeButton->setEnabled(false);
    ui_.resumeItem->setEnabled(false);
    ui_.pauseButton->setEnabled(true);
    ui_.pauseItem->setEnabled(true);
    showPauseButton(true);
    converter_->Resume();
}

void MainWindow::onProgress(const media::TProgressInfo& info) {
    if (info.TaskIndex < 0 || info.TaskIndex >= int(taskRows_.size())) {
        return;
    }
    const int row = jobs_.positionOf(taskRows_[info.TaskIndex]);
    if (row < 0) {
        return;
    }
    jobs_.setText(
        row, joblist::Progress,
        info.TotalDuration > 0
            ? QString::number(info.CurrentDuration * 100 / info.TotalDuration) + QLatin1Char('%')
            : QStringLiteral("N/A"));
    if (info.FPS > 0) {
        jobs_.setText(row, joblist::Speed, QString::number(info.FPS));
    }
    jobs_.setText(row, joblist::CurrentTime, joblist::SecToDate(info.CurrentDuration / 1000000));
    jobs_.setText(row, joblist::OutputSize, joblist::SizeText(info.CurrentSize));
}

void MainWindow::onTerminated(const media::TTerminateInfo& info) {
    if (info.TaskIndex >= 0 && info.TaskIndex < int(taskRows_.size()) && info.Finished) {
        const int row = jobs_.positionOf(taskRows_[info.TaskIndex]);
        if (row >= 0) {
            jobs_.setText(row, joblist::Progress, QStringLiteral("100%"));
        }
    }
    if (info.TaskIndex < 0 && batchRunning_) {
        batchRunning_ = false;
        applyCommandState({batchStoppedByUser_, false, false, false, false, false, false, true});
        showPauseButton(true);
        EnableControlsAfterWork();
        if (livePreviewWindow_) {
            livePreviewWindow_->hide();
        }
        // A batch the user stopped does nothing more, least of all shut the machine down.
        if (!batchStoppedByUser_) {
            runAfterCompletion();
        }
    }
    if (info.Exception) {
        dialogs_.warning(this, QString::fromStdString(info.ExceptionMsg));
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

void MainWindow::onPreviewPicture(const media::PreviewPicture& picture) {
    if (!livePreview_ || !batchRunning_ || picture.width <= 0) {
        return;
    }
    if (!livePreviewWindow_) {
        livePreviewWindow_ = new LivePreviewWindow(this);
    }
    const QImage image(picture.rgb32.data(), picture.width, picture.height, picture.width * 4,
                       QImage::Format_RGB32);
    const int row = picture.TaskIndex < int(taskRows_.size())
                        ? jobs_.positionOf(taskRows_[picture.TaskIndex])
                        : -1;
    static_cast<LivePreviewWindow*>(livePreviewWindow_)
        ->showPicture(image.copy(), row >= 0
                                        ? QFileInfo(jobs_.text(row, joblist::InputFile)).fileName()
                                        : QString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CancelRename();
    stopPreview();
    // No event reaches the window any more while the converter winds down.
    if (bridge_) {
        bridge_->detach();
    }
    if (converter_) {
        converter_->Stop(true);
    }
    event->accept();
}

}  // namespace talwyn::app
