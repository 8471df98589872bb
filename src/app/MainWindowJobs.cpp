// The main window's job list: adding files, removing, clearing, moving and renaming rows, and
// what selecting a row does.

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/OfficeComboBox.h"
#include "app/OpenFilter.h"
#include "app/SkippedFiles.h"
#include "catalogue/Catalogue.h"
#include "catalogue/OutputNaming.h"
#include "conversion/Batch.h"
#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"
#include "joblist/MediaFolderScan.h"
#include "joblist/TextFormats.h"
#include "media/Converter.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSlider>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace talwyn::app {
namespace {

using joblist::JobColumn;

QString number(int64_t value) {
    return QString::number(value);
}

QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

const QString kPathsSection = QStringLiteral("Paths");
const QString kLastInputFolderKey = QStringLiteral("LastInputFolder");

}  // namespace

void MainWindow::PrepareOpenDialog() {
    openFilter_ = QtOpenFilter();
}

QString MainWindow::lastInputFolder() const {
    const auto stored = ini_.value(kPathsSection, kLastInputFolderKey);
    if (!stored || !QDir::isAbsolutePath(*stored)) {
        return {};
    }
    // A folder removed since starts the dialog in what is left of its path.
    QString folder = QDir::cleanPath(*stored);
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder) {
            return {};
        }
        folder = parent;
    }
    return folder;
}

void MainWindow::rememberInputFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (ini_.value(kPathsSection, kLastInputFolderKey) != clean) {
        ini_.write(kPathsSection, kLastInputFolderKey, clean);
    }
}

bool MainWindow::ensureLibraries() {
    if (converter_->AVLibLoaded() || converter_->LoadAVLib(conversion::CatalogueEncoders())) {
        return true;
    }
    appendLog(QString::fromStdString(converter_->LastErrMsg()));
    return false;
}

void MainWindow::btnAddClick() {
    ResetProfileSettings();
    if (!ensureLibraries()) {
        return;
    }
    const auto file =
        dialogs_.openFile(this, QStringLiteral("打开文件"), openFilter_, lastInputFolder());
    if (!file) {
        return;
    }
    rememberInputFolder(QFileInfo(*file).absolutePath());
    if (!QFileInfo(*file).isFile()) {
        return;
    }
    if (addOneFile(*file) == AddOutcome::Added) {
        selectRow(jobs_.rowCount() - 1);
    }
}

void MainWindow::AddSeveralFiles() {
    ResetProfileSettings();
    if (!ensureLibraries()) {
        return;
    }
    const QStringList files =
        dialogs_.openFiles(this, QStringLiteral("打开文件"), openFilter_, lastInputFolder());
    if (files.isEmpty()) {
        return;
    }
    rememberInputFolder(QFileInfo(files.constFirst()).absolutePath());
    addFiles(files, true);
}

void MainWindow::AddDirectory() {
    ResetProfileSettings();
    if (!ensureLibraries()) {
        return;
    }
    const auto folder = dialogs_.chooseFolder(this, QStringLiteral("选择目录"), lastInputFolder());
    if (!folder || folder->isEmpty() || !QFileInfo(*folder).isDir()) {
        return;
    }
    rememberInputFolder(*folder);
    addFolder(*folder);
}

void MainWindow::addFiles(const QStringList& paths, bool reversed) {
    if (!ensureLibraries()) {
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths[reversed ? paths.size() - 1 - i : i];
        if (!isRegularFile(path)) {
            continue;
        }
        if (addOneFile(path) == AddOutcome::EndCommand) {
            return;
        }
    }
    if (!jobs_.isEmpty()) {
        selectRow(jobs_.rowCount() - 1);
    }
}

bool MainWindow::isRegularFile(const QString& path, QString* why) {
    // A pipe, socket or device would block or never end when opened; it is no media file.
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        const int error = errno;
        appendLog(QStringLiteral("***File not found: ") + path);
        if (why) {
            *why =
                error == ENOENT || error == ENOTDIR
                    ? QStringLiteral("文件不存在")
                    : QStringLiteral("无法读取：") + QString::fromLocal8Bit(std::strerror(error));
        }
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        appendLog(QStringLiteral("***Not a regular file, skipped: ") + path);
        if (why) {
            *why = QStringLiteral("不是普通文件（管道、设备等不能转换）");
        }
        return false;
    }
    return true;
}

void MainWindow::addCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty() || !ensureLibraries()) {
        return;
    }
    SkippedFiles skipped;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            addTreeTelling(info.absoluteFilePath(), skipped);
        } else {
            addFileTelling(argument.isEmpty() ? argument : info.absoluteFilePath(), skipped);
        }
    }
    endAddTelling(skipped);
}

void MainWindow::addTreeTelling(const QString& folder, SkippedFiles& skipped) {
    const joblist::MediaFolderScan scan =
        joblist::ScanMediaFolder(std::filesystem::path(QFile::encodeName(folder).toStdString()));
    for (const joblist::MediaFolderScan::Unreadable& problem : scan.unreadable) {
        appendLog(QStringLiteral("***Folder cannot be read: ") + fromPath(problem.folder));
        skipped.add(fromPath(problem.folder),
                    QStringLiteral("无法读取该目录：") + QString::fromLocal8Bit(problem.reason));
    }
    if (scan.files.empty() && scan.unreadable.empty()) {
        skipped.add(folder, QStringLiteral("该目录中没有可以添加的文件"));
    }
    for (const std::filesystem::path& file : scan.files) {
        addFileTelling(fromPath(file), skipped);
    }
}

void MainWindow::addFileTelling(const QString& path, SkippedFiles& skipped) {
    // Once the list is full, every file still to come is named, so the user knows where to
    // go on after clearing it.
    if (slots_.freeCount() == 0) {
        skipped.add(path, QStringLiteral("任务列表已满"));
        return;
    }
    QString why;
    if (!isRegularFile(path, &why) || addOneFile(path, &why) != AddOutcome::Added) {
        skipped.add(path, why);
    }
}

void MainWindow::endAddTelling(const SkippedFiles& skipped) {
    if (!jobs_.isEmpty()) {
        selectRow(jobs_.rowCount() - 1);
    }
    if (skipped.isEmpty()) {
        return;
    }
    // A box opened inside the drop would keep the file manager waiting until it is closed.
    QMetaObject::invokeMethod(
        this, [this, text = skipped.message()] { dialogs_.information(this, text); },
        Qt::QueuedConnection);
}

void MainWindow::addFolder(const QString& folder) {
    if (!ensureLibraries()) {
        return;
    }
    const int before = jobs_.rowCount();
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        if (!isRegularFile(it->filePath())) {
            continue;
        }
        if (addOneFile(it->filePath()) == AddOutcome::EndCommand) {
            return;
        }
    }
    if (!jobs_.isEmpty()) {
        selectRow(jobs_.rowCount() - 1);
    }
    if (jobs_.rowCount() <= before) {
        dialogs_.information(this, QStringLiteral("在该目录没有发现可以用的视频或音频文件！"));
    }
}

MainWindow::AddOutcome MainWindow::addOneFile(const QString& path, QString* why) {
    if (slots_.freeCount() == 0) {
        dialogs_.information(this, QStringLiteral("任务列表已满，请先清空列表！"));
        if (why) {
            *why = QStringLiteral("任务列表已满");
        }
        return AddOutcome::EndCommand;
    }
    const int task = converter_->AddTask(path.toStdString());
    if (task < 0) {
        const QString error = QString::fromStdString(converter_->LastErrMsg());
        appendLog({});
        appendLog(QStringLiteral("***File load error: ") + error);
        appendLog({});
        if (why) {
            // Whether the file cannot be read at all, or is read and is no media it knows.
            const int readable = ::access(QFile::encodeName(path).constData(), R_OK);
            *why = readable != 0
                       ? QStringLiteral("无法读取：") + QString::fromLocal8Bit(std::strerror(errno))
                       : QStringLiteral("不是可以转换的视频或音频文件（") + error +
                             QStringLiteral("）");
        }
        return AddOutcome::Skipped;
    }
    fields_.Video_AddFileName = path;
    appendLog({});
    appendLog(QString::fromStdString(converter_->TaskInfoText(task)));
    fields_.T_Movie_PLayer_FileName = path;

    // The new row takes what the panel shows; no other row changes.
    const conversion::JobRecord& record = panelRecord();
    takeSettings(record);
    fields_.Video_OutPutFileName = freeOutputPath(
        catalogue::OutputNaming::outputPath(path, ui_.folderEdit->text(), record.extension), -1);
    media::TOutputOptions options = conversion::TaskOptions(record);
    if (!converter_->SetOutputFile(task, fields_.Video_OutPutFileName.toStdString(), options)) {
        const QString error = QString::fromStdString(converter_->LastErrMsg());
        converter_->RemoveTask(task);
        appendLog({});
        appendLog(QStringLiteral("***Cannot do convert, error: ") + error);
        appendLog({});
        if (why) {
            *why = QStringLiteral("不能转换为所选的输出格式：") + error;
        }
        return AddOutcome::EndCommand;
    }

    const media::TFileStreamInfo info = converter_->TaskStreamInfo(task);
    joblist::JobRow row;
    auto& t = row.text;
    t[joblist::InputFile] = path;
    t[joblist::Duration] =
        info.Duration > 0 ? joblist::SecToDate(info.Duration / 1000000) : QStringLiteral("N/A");
    t[joblist::InputSize] = joblist::SizeText(converter_->TaskFileSize(task));
    t[joblist::OutputFile] = QFileInfo(fields_.Video_OutPutFileName).fileName();
    t[joblist::Sequence] = number(task + 1);
    conversion::WriteRecordColumns(row, record);

    media::TInputOptions input;
    input.FileName = path.toStdString();
    options.FileName = fields_.Video_OutPutFileName.toStdString();
    row.slot = slots_.allocate(input, options);
    jobs_.appendRow(row);
    ui_.lvFiles->setFocus();
    applyBatchState();
    appendLog({});
    appendLog(QStringLiteral("***Can do convert."));
    appendLog({});
    return AddOutcome::Added;
}

void MainWindow::selectRow(int row) {
    if (row < 0 || row >= jobs_.rowCount()) {
        return;
    }
    // Selecting the row already selected changes nothing, but its choices are restored anyway.
    const bool alreadySelected = selectedRow() == row;
    // The row alone, whatever modifier is held: Ctrl+Down would otherwise add it to the selection.
    ui_.lvFiles->selectionModel()->setCurrentIndex(
        jobs_.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui_.lvFiles->setFocus();
    if (alreadySelected) {
        onSelectionChanged();
    }
}

void MainWindow::onSelectionChanged() {
    const int row = selectedRow();
    if (row < 0) {
        stopPreview();  // nothing selected: nothing plays
        return;
    }
    // The panel shows the row's own record; showing it changes no row.
    const std::optional<conversion::JobChoice> choice = conversion::ChoiceOfRow(jobs_.row(row));
    if (!choice) {
        appendLog(QStringLiteral("The format of row %1 cannot be read").arg(row + 1));
        return;
    }
    showChoice(*choice);
    ui_.slider->setValue(0);
    fields_.T_Movie_PLayer_FileName = jobs_.text(row, joblist::InputFile);
    OpenPreview();
}

void MainWindow::btnRemoveClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        dialogs_.information(this, QStringLiteral("请先选择您需要删除的项目！"));
        return;
    }
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        converter_->RemoveTask(jobs_.text(*it, joblist::Sequence).toInt() - 1);
        slots_.markDeleted(jobs_.removeJob(*it));
    }
    applyBatchState();
    ui_.lvFiles->setFocus();
    if (!jobs_.isEmpty()) {
        selectRow(0);
        return;
    }
    stopPreview();
    ui_.slider->setValue(0);
}

void MainWindow::btnClearClick() {
    CancelRename();
    converter_->ClearTasks();
    jobs_.clear();
    batch_->reset();
    applyBatchState();
    InitValues();
    stopPreview();
    ui_.slider->setValue(0);
}

void MainWindow::MoveRowUp() {
    moveSelectedRow(-1);
}

void MainWindow::MoveRowDown() {
    moveSelectedRow(1);
}

void MainWindow::moveSelectedRow(int step) {
    const int row = selectedRow();
    if (row < 0 || !jobs_.moveRow(row, row + step)) {
        return;
    }
    selectRow(row + step);
}

void MainWindow::StartRename() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    QTableView* list = ui_.lvFiles;
    const QRect cell = list->visualRect(jobs_.index(row, joblist::OutputFile));
    ui_.edt->setGeometry(cell.left(), cell.top(), list->columnWidth(joblist::OutputFile),
                         cell.height());
    const QString name = jobs_.text(row, joblist::OutputFile);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    ui_.edt->setText(dot < 0 ? name : name.left(dot));
    ui_.edt->show();
    ui_.edt->selectAll();
    ui_.edt->setFocus();
}

bool MainWindow::CommitRename() {
    if (!ui_.edt->isVisible()) {
        return true;
    }
    const QString text = ui_.edt->text();
    const int row = selectedRow();
    if (text.isEmpty() || row < 0) {
        return false;
    }
    if (text.contains(QLatin1Char('/')) || text == QLatin1String(".") ||
        text == QLatin1String("..")) {
        QToolTip::showText(ui_.edt->mapToGlobal(QPoint(0, ui_.edt->height())),
                           QStringLiteral("文件名不能包含“/”，也不能是“.”或“..”"), ui_.edt);
        return false;
    }
    const auto choice = conversion::ChoiceOfRow(jobs_.row(row));
    const QString name =
        text + conversion::MakeJobRecord(choice ? *choice : panelChoice()).extension;
    jobs_.setText(row, joblist::OutputFile, name);
    ui_.edt->hide();
    slots_.setOutputFileName(jobs_.row(row).slot,
                             (ui_.folderEdit->text() + QLatin1Char('/') + name).toStdString());
    ui_.lvFiles->setFocus();
    return true;
}

void MainWindow::CancelRename() {
    if (ui_.edt->isVisible()) {
        ui_.edt->hide();
        ui_.lvFiles->setFocus();
    }
}

bool MainWindow::handleDrop(QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls() && ui_.addButton->isEnabled()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    QStringList files;
    QStringList folders;
    SkippedFiles skipped;
    for (const QUrl& url : drop->mimeData()->urls()) {
        if (!url.isLocalFile()) {
            skipped.add(url.toDisplayString(), QStringLiteral("不是本机上的文件"));
            continue;
        }
        const QString path = url.toLocalFile();
        (QFileInfo(path).isDir() ? folders : files) << path;
    }
    drop->acceptProposedAction();
    ResetProfileSettings();
    if (!ensureLibraries()) {
        return true;
    }
    // Folders first, each top to bottom; then the plain files last to first, as the several
    // files of the open dialog are added.
    for (const QString& folder : folders) {
        addTreeTelling(folder, skipped);
    }
    for (auto it = files.crbegin(); it != files.crend(); ++it) {
        addFileTelling(*it, skipped);
    }
    endAddTelling(skipped);
    return true;
}

}  // namespace talwyn::app
