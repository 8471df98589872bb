#include "app/LivePreviewWindow.h"
#include "app/OfficeComboBox.h"
#include "joblist/TextFormats.h"
#include "media/Converter.h"
#include "media/Probe.h"
#include "settings/OptionsDialog.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"
#include "support/WindowFlow.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

using namespace talwyn;
using namespace talwyn::joblist;
using app::MainWindow;
using test::MediaFiles;

namespace {

using Flow = test::WindowFlow;
using test::column;
using test::waitForBatchEnd;

QString log(MainWindow& window) {
    return window.ui().mmoLog->toPlainText();
}

}  // namespace

class JobFlowWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void singleAddFillsEveryColumn();
    void severalFilesAndFoldersComeLastToFirst();
    void badInputIsRefusedAndGoodInputStillConverts();
    void reselectingARowRestoresItsChoices();
    void removeClearAndMove();
    void renameInPlace();
    void startConvertsEveryRow();
    void threeTasksRunAtOnce();
    void pauseResumeAndStop();
    void aFailingRowShowsOneBoxAndTheBatchFinishes();
    void shutdownAsksAndAStoppedBatchDoesNothing();
    void closingMidBatchLeavesNothingBehind();
    void droppedFilesAndFoldersAreAdded();
    void livePreviewShowsTheEncodedPictures();
};

void JobFlowWindowTest::singleAddFillsEveryColumn() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString clip = flow.copy(MediaFiles::get().clip, QStringLiteral("片段 (1).avi"));
    flow.dialogs.fileAnswer = clip;
    window.btnAddClick();

    QCOMPARE(window.jobs().rowCount(), 1);
    const JobRow& row = window.jobs().row(0);
    const QStringList expected = {clip,
                                  "00:00:02",
                                  SizeText(QFileInfo(clip).size()),
                                  "片段 (1).wav",
                                  "",
                                  "",
                                  "",
                                  "",
                                  "1",
                                  "100",
                                  "000013000005",
                                  "",
                                  "",
                                  "2",
                                  "",
                                  ".wav",
                                  "",
                                  "-1000",
                                  "",
                                  "-1",  // PCM takes no bit rate; the list says so
                                  "48000",
                                  "",
                                  "True",
                                  "",
                                  ""};
    for (int c = 0; c < kJobColumnCount; ++c) {
        QCOMPARE(row.text[c], expected[c]);
    }
    QCOMPARE(window.jobSlots().marker(row.slot), QStringLiteral("Full"));
    QCOMPARE(window.jobSlots().freeCount(), 500);
    QVERIFY(!window.ui().emptyPicture->isVisibleTo(&window));
    QVERIFY(window.ui().startButton->isEnabled() && window.ui().removeButton->isEnabled());
    QVERIFY(window.ui().clearItem->isEnabled() && window.ui().renameButton->isEnabled());
    QCOMPARE(window.selectedRow(), 0);
    QVERIFY(log(window).contains(QStringLiteral("***Can do convert.")));

    // The same file again: a row of its own whose output name does not clash with the first.
    window.btnAddClick();
    QCOMPARE(column(window, OutputFile), QStringList({"片段 (1).wav", "片段 (1)_1.wav"}));
    QCOMPARE(column(window, Sequence), QStringList({"1", "2"}));
}

void JobFlowWindowTest::severalFilesAndFoldersComeLastToFirst() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    flow.dialogs.filesAnswer = {flow.copy(media.tone, "a.wav"), flow.copy(media.tone, "b.wav"),
                                flow.copy(media.tone, "c.wav")};
    window.AddSeveralFiles();
    QCOMPARE(test::inputNames(window), QStringList({"c.wav", "b.wav", "a.wav"}));
    QCOMPARE(window.selectedRow(), 2);

    QTemporaryDir folder;
    QFile::copy(media.tone, folder.filePath("x.wav"));
    QFile::copy(media.clip, folder.filePath("y.avi"));
    QFile text(folder.filePath("notes.txt"));
    text.open(QIODevice::WriteOnly);
    text.write("no sound here\n");
    text.close();
    QDir(folder.path()).mkdir("sub");
    QFile::copy(media.tone, folder.filePath("sub/z.wav"));
    // A pipe among the files: opening it would wait for a writer that never comes.
    QVERIFY(::mkfifo(QFile::encodeName(folder.filePath("m.wav")).constData(), 0600) == 0);
    flow.dialogs.folderAnswer = folder.path();
    window.AddDirectory();
    QCOMPARE(test::inputNames(window), QStringList({"c.wav", "b.wav", "a.wav", "y.avi", "x.wav"}));
    QVERIFY(log(window).contains(QStringLiteral("***Not a regular file, skipped: ") +
                                 folder.filePath("m.wav")));
    QVERIFY(log(window).contains(QStringLiteral("***File load error: ")));  // notes.txt, after it
    QVERIFY(flow.dialogs.informations.isEmpty());

    QTemporaryDir textOnly;
    QFile::copy(folder.filePath("notes.txt"), textOnly.filePath("readme.txt"));
    flow.dialogs.folderAnswer = textOnly.path();
    window.AddDirectory();
    QCOMPARE(flow.dialogs.informations,
             QStringList({QStringLiteral("在该目录没有发现可以用的视频或音频文件！")}));
}

void JobFlowWindowTest::badInputIsRefusedAndGoodInputStillConverts() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    window.selectCategory(1);  // MP3
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(flow.in.filePath(QString::fromUtf8(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    QFile clipFile(media.clip);
    clipFile.open(QIODevice::ReadOnly);
    const QByteArray clipBytes = clipFile.readAll();
    QByteArray noise(20000, '\0');
    for (int i = 0; i < noise.size(); ++i) {
        noise[i] = char((i * 7919 + 13) % 251);
    }
    QDir(flow.in.path()).mkdir("folder.avi");
    const QStringList bad = {
        write("empty.mp3", ""),
        write("text.mp3", QByteArray("only words\n").repeated(100)),
        write("noise.wav", noise),
        write("truncated.avi", clipBytes.left(300)),
        write("header-only.wav", QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16)),
    };
    const QStringList good = {flow.copy(media.tone, "歌曲 一 (live).wav"),
                              flow.copy(media.clip, "視頻 2.avi")};
    const QString doomed = flow.copy(media.tone, "deleted later.wav");
    // A folder is no file: like a file that vanished, it ends the command.
    window.addFiles(QStringList(bad) << good << doomed << flow.in.filePath("folder.avi"), false);
    QCOMPARE(test::inputNames(window),
             QStringList({"歌曲 一 (live).wav", "視頻 2.avi", "deleted later.wav"}));
    QCOMPARE(log(window).count(QStringLiteral("***File load error: ")), 5);
    QVERIFY(log(window).contains(QStringLiteral("folder.avi")));
    QFile::remove(doomed);

    window.btnStartClick();
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(column(window, Progress), QStringList({"100%", "100%", "失败"}));
    QVERIFY(flow.dialogs.warnings.isEmpty());  // nothing waited on the user during the batch
    QCOMPARE(flow.dialogs.notices.size(), 1);
    QVERIFY(flow.dialogs.notices[0].startsWith(QStringLiteral("转换结束：成功 2 个，失败 1 个")));
    QVERIFY(flow.dialogs.notices[0].contains(QStringLiteral("deleted later.wav")));
    QVERIFY(window.jobs()
                .data(window.jobs().index(2, Progress), Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("deleted later.wav")));
    QCOMPARE(flow.outputs(), QStringList({"歌曲 一 (live).mp3", "視頻 2.mp3"}));
    media::Probe probe;
    QVERIFY(probe.LoadFile(flow.out.filePath("視頻 2.mp3").toStdString()));
    QCOMPARE(probe.FileStreamInfo().Streams.front().codec, std::string("mp3"));
}

void JobFlowWindowTest::reselectingARowRestoresItsChoices() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    window.selectCategory(4);
    window.selectProfile(11);  // DVD
    auto& boxes = window.ui().presetBoxes;
    window.selectPreset(app::MainWindowUi::AudioBitrateBox,
                        boxes[app::MainWindowUi::AudioBitrateBox]->findText("256 kbps"));
    window.addFiles({media.clip}, false);
    // With the row still selected, a new category would change that row.
    window.ui().lvFiles->clearSelection();
    window.selectCategory(1);  // MP3 for the next file
    window.addFiles({media.tone}, false);
    QCOMPARE(window.ui().categoryBox->currentIndex(), 1);

    window.ui().lvFiles->selectRow(0);
    QCOMPARE(window.ui().categoryBox->currentIndex(), 4);
    QCOMPARE(window.ui().profileBox->currentIndex(), 11);
    QCOMPARE(boxes[app::MainWindowUi::AudioBitrateBox]->currentText(), QStringLiteral("256 kbps"));
    // The DVD standard fixes the rate; the locked list shows the one really used.
    QCOMPARE(boxes[app::MainWindowUi::AudioBitrateBox]->shownText(), QStringLiteral("448 kbps"));
    QVERIFY(!boxes[app::MainWindowUi::AudioBitrateBox]->isEnabled());
    QCOMPARE(window.jobs().text(0, AudioBitrate), QStringLiteral("448000"));
    QCOMPARE(window.jobs().text(0, TargetType), QStringLiteral("dvd"));
    QCOMPARE(window.fields().T_Movie_PLayer_FileName, media.clip);

    window.selectCategory(12);  // a profile change renames the selected row's output
    QVERIFY(window.jobs().text(0, OutputFile).endsWith(QStringLiteral(".mp4")));
    QCOMPARE(window.jobs().text(0, CatalogueSlotColumn), QStringLiteral("1300"));
}

void JobFlowWindowTest::removeClearAndMove() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    window.btnRemoveClick();
    QCOMPARE(flow.dialogs.informations,
             QStringList({QStringLiteral("请先选择您需要删除的项目！")}));

    window.addFiles({flow.copy(media.tone, "1.wav"), flow.copy(media.tone, "2.wav"),
                     flow.copy(media.tone, "3.wav")},
                    false);
    window.ui().lvFiles->selectRow(0);
    window.MoveRowUp();  // the first row stays
    QCOMPARE(test::inputNames(window), QStringList({"1.wav", "2.wav", "3.wav"}));
    window.MoveRowDown();
    window.MoveRowDown();
    QCOMPARE(test::inputNames(window), QStringList({"2.wav", "3.wav", "1.wav"}));
    QCOMPARE(window.selectedRow(), 2);
    window.MoveRowDown();  // the last row stays
    QCOMPARE(column(window, Sequence), QStringList({"2", "3", "1"}));

    // The moved row takes its task number and its slot with it.
    const int slotOfOne = window.jobs().row(2).slot;
    window.btnRemoveClick();
    QCOMPARE(test::inputNames(window), QStringList({"2.wav", "3.wav"}));
    QCOMPARE(column(window, Sequence), QStringList({"1", "2"}));
    QCOMPARE(window.jobSlots().marker(slotOfOne), QStringLiteral("DELETED"));
    QCOMPARE(window.selectedRow(), 0);
    QCOMPARE(window.converter().TaskCount(), 2);

    window.btnRemoveClick();
    window.btnRemoveClick();
    QVERIFY(window.ui().emptyPicture->isVisibleTo(&window));
    QVERIFY(!window.ui().startButton->isEnabled() && !window.ui().removeItem->isEnabled());
    QCOMPARE(window.ui().slider->value(), 0);

    window.addFiles({media.tone}, false);
    QCOMPARE(window.jobSlots().freeCount(), 497);  // removed rows keep their slots until a clear
    window.btnClearClick();
    QCOMPARE(window.jobs().rowCount(), 0);
    QCOMPARE(window.jobSlots().freeCount(), 501);
    QCOMPARE(window.converter().TaskCount(), 0);
    QVERIFY(window.ui().addButton->isEnabled() && !window.ui().clearButton->isEnabled());
}

void JobFlowWindowTest::renameInPlace() {
    Flow flow;
    MainWindow& window = flow.startWith();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.addFiles({flow.copy(MediaFiles::get().tone, "song.wav")}, false);
    QLineEdit* edit = window.ui().edt;

    window.StartRename();
    QVERIFY(edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("song"));
    edit->setText(QStringLiteral("track1"));
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!edit->isVisible());
    QCOMPARE(window.jobs().text(0, OutputFile), QStringLiteral("track1.wav"));
    QCOMPARE(window.jobSlots().output(window.jobs().row(0).slot).FileName,
             (flow.out.path() + QStringLiteral("/track1.wav")).toStdString());

    const struct {
        const char* text;
        bool taken;
    } attempts[] = {
        {"", false}, {"../escape", false}, {"..", false}, {"a/b", false}, {"好 名字", true}};
    for (const auto& attempt : attempts) {
        window.StartRename();
        edit->setText(QString::fromUtf8(attempt.text));
        QCOMPARE(window.CommitRename(), attempt.taken);
        QCOMPARE(edit->isVisible(), !attempt.taken);
        window.CancelRename();
    }
    QCOMPARE(window.jobs().text(0, OutputFile), QStringLiteral("好 名字.wav"));

    window.StartRename();
    edit->setText(QStringLiteral("never"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(window.jobs().text(0, OutputFile), QStringLiteral("好 名字.wav"));
}

void JobFlowWindowTest::startConvertsEveryRow() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=0\nThread_Count=2\n");
    const MediaFiles& media = MediaFiles::get();
    window.selectCategory(14);  // H.264
    window.addFiles({media.clip, media.tone}, false);
    window.btnStartClick();
    QVERIFY(window.batchRunning());
    QVERIFY(!window.ui().startButton->isEnabled() && window.ui().stopButton->isEnabled());
    QVERIFY(!window.ui().categoryBox->isEnabled() && !window.ui().addButton->isEnabled());
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(column(window, Progress), QStringList({"100%", "100%"}));
    QCOMPARE(column(window, CurrentTime), QStringList({"00:00:02", "00:00:02"}));
    QVERIFY(!window.jobs().text(0, OutputSize).isEmpty());
    QVERIFY(window.ui().clearButton->isEnabled() && !window.ui().addButton->isEnabled());
    QVERIFY(window.ui().categoryBox->isEnabled());
    QCOMPARE(flow.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(flow.out.path())}));
    for (const QString& name : flow.outputs()) {
        media::Probe probe;
        QVERIFY2(probe.LoadFile(flow.out.filePath(name).toStdString()), qPrintable(name));
    }
    QCOMPARE(flow.outputs().size(), 2);
}

void JobFlowWindowTest::threeTasksRunAtOnce() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=3\nThread_Count=3\n");
    QCOMPARE(window.options().threadCount(), 3);
    test::MediaSpec spec;
    spec.seconds = 8;
    spec.width = 640;
    spec.height = 480;
    const QString clip = flow.in.filePath("slow.avi");
    QCOMPARE(test::makeMedia(clip.toStdString(), spec), std::string());
    window.selectCategory(14);
    window.addFiles({clip, clip, clip, clip}, false);
    window.btnStartClick();
    window.btnPauseClick();  // hold the batch to look at it
    QTRY_COMPARE_WITH_TIMEOUT(column(window, Progress).mid(0, 3).filter("%").size(), 3, 20000);
    QTest::qWait(300);
    QCOMPARE(window.jobs().text(3, Progress), QString());
    window.btnResumeClick();
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(column(window, Progress), QStringList({"100%", "100%", "100%", "100%"}));
}

void JobFlowWindowTest::pauseResumeAndStop() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=0\nThread_Count=1\n");
    const MediaFiles& media = MediaFiles::get();
    window.selectCategory(1);
    window.addFiles({media.longTone, media.longTone}, false);
    window.show();
    const app::MainWindowUi& ui = window.ui();
    const QPoint place = ui.pauseButton->pos();
    window.btnStartClick();
    window.btnPauseClick();
    QVERIFY(!window.ui().pauseButton->isEnabled() && window.ui().resumeButton->isEnabled());
    QVERIFY(window.ui().resumeItem->isEnabled());
    // "暂停" and "继续" share one place on the tool bar.
    QTRY_VERIFY(ui.resumeButton->isVisible());
    QVERIFY(!ui.pauseButton->isVisible());
    QCOMPARE(ui.resumeButton->pos(), place);
    window.btnResumeClick();
    QVERIFY(window.ui().pauseButton->isEnabled() && !window.ui().resumeButton->isEnabled());
    QTRY_VERIFY(ui.pauseButton->isVisible());
    QVERIFY(!ui.resumeButton->isVisible());
    window.btnPauseClick();
    window.btnStopClick();
    QVERIFY(waitForBatchEnd(window));
    QVERIFY(window.ui().startButton->isEnabled());
    QVERIFY(!window.ui().startItem->isEnabled());
    QVERIFY(flow.outputs().isEmpty());
    QVERIFY(flow.desktop.opened.isEmpty());  // a stopped batch runs no action

    window.btnStartClick();  // a new start after a stop is accepted
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(column(window, Progress), QStringList({"100%", "100%"}));
    QCOMPARE(flow.desktop.opened.size(), 1);
}

void JobFlowWindowTest::aFailingRowShowsOneBoxAndTheBatchFinishes() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=2\nThread_Count=1\n");
    const MediaFiles& media = MediaFiles::get();
    window.selectCategory(1);
    const QString doomed = flow.copy(media.tone, "gone.wav");
    window.addFiles({media.tone, doomed}, false);
    QFile::remove(doomed);
    window.btnStartClick();
    QVERIFY(waitForBatchEnd(window));
    QVERIFY(flow.dialogs.warnings.isEmpty());
    QCOMPARE(flow.dialogs.notices.size(), 1);
    QCOMPARE(window.jobs().text(0, Progress), QStringLiteral("100%"));
    QCOMPARE(window.jobs().text(1, Progress), QStringLiteral("失败"));
    QCOMPARE(
        flow.desktop.sounds.size(),
        QFileInfo::exists(QCoreApplication::applicationDirPath() + "/sounds/ring001.wav") ? 1 : 0);
}

void JobFlowWindowTest::shutdownAsksAndAStoppedBatchDoesNothing() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=1\nThread_Count=1\n");
    window.selectCategory(1);
    window.addFiles({MediaFiles::get().tone}, false);
    window.btnStartClick();
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(flow.dialogs.shutdownAsked, 1);
    QCOMPARE(flow.desktop.powerOffs, 1);

    flow.dialogs.shutdownAnswer = false;  // cancelled in the countdown
    window.btnClearClick();
    window.addFiles({MediaFiles::get().tone}, false);
    window.btnStartClick();
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(flow.dialogs.shutdownAsked, 2);
    QCOMPARE(flow.desktop.powerOffs, 1);

    window.btnClearClick();
    window.addFiles({MediaFiles::get().longTone}, false);
    window.btnStartClick();
    window.btnStopClick();
    QVERIFY(waitForBatchEnd(window));
    QCOMPARE(flow.dialogs.shutdownAsked, 2);
}

void JobFlowWindowTest::closingMidBatchLeavesNothingBehind() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=0\nThread_Count=2\n");
    window.selectCategory(1);
    window.addFiles({MediaFiles::get().longTone, MediaFiles::get().longTone}, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.btnStartClick();
    window.btnPauseClick();
    QTRY_VERIFY_WITH_TIMEOUT(!flow.outputs().isEmpty(), 10000);  // hidden files being written
    QVERIFY(window.close());
    QVERIFY(flow.outputs().isEmpty());
    QVERIFY(flow.desktop.opened.isEmpty());
}

QTEST_MAIN(JobFlowWindowTest)
#include "JobFlowWindowTest.moc"

void JobFlowWindowTest::droppedFilesAndFoldersAreAdded() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir folder;
    QFile::copy(media.tone, folder.filePath("in folder.wav"));
    const QString a = flow.copy(media.tone, "a.wav");
    const QString b = flow.copy(media.tone, "b.wav");
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(folder.path()), QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QWidget* target = window.ui().emptyPicture;  // what covers the empty list
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(test::inputNames(window), QStringList({"in folder.wav", "b.wav", "a.wav"}));
}

void JobFlowWindowTest::livePreviewShowsTheEncodedPictures() {
    Flow flow;
    MainWindow& window = flow.startWith("After_Done=3\nThread_Count=1\nShow_Preview=1\n");
    QVERIFY(window.livePreview());
    window.selectCategory(14);
    test::MediaSpec spec;
    spec.seconds = 4;
    const QString clip = flow.in.filePath("p.avi");
    QCOMPARE(test::makeMedia(clip.toStdString(), spec), std::string());
    window.addFiles({clip}, false);
    window.btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<app::LivePreviewWindow*>() != nullptr, 20000);
    QVERIFY(waitForBatchEnd(window));
    QVERIFY(!window.findChild<app::LivePreviewWindow*>()->isVisible());
}
