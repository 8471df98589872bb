#include "app/OfficeComboBox.h"
#include "conversion/JobRecord.h"
#include "conversion/TaskBuilder.h"
#include "media/Converter.h"
#include "media/OutputPlan.h"
#include "media/Probe.h"
#include "support/FileBytes.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"
#include "support/WindowFlow.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

extern "C" {
#include <libavutil/parseutils.h>
}

#include <functional>
#include <map>
#include <random>

using namespace talwyn;
using namespace talwyn::joblist;
using app::MainWindow;
using Box = app::MainWindowUi::PresetBox;
using test::MediaFiles;

namespace {

// Everything of an output record that decides what a file becomes, in one line.
QString describe(const media::TOutputOptions& o) {
    return QStringLiteral(
               "codec %1/%2 ext %3 size %4 fps %5 aspect %6 ch %7 rate %8 abr %9 vbr %10 "
               "target %11/%12 novideo %13 tag %14")
        .arg(QString::fromStdString(o.VideoCodec), QString::fromStdString(o.AudioCodec),
             QString::fromStdString(o.FileExt), QString::fromStdString(o.FrameSize),
             QString::fromStdString(o.FrameRate), QString::fromStdString(o.FrameAspectRatio))
        .arg(o.AudioChannels)
        .arg(o.AudioSampleRate)
        .arg(o.AudioBitrate)
        .arg(o.VideoBitrate)
        .arg(int(o.TargetType))
        .arg(int(o.NormType))
        .arg(o.DisableVideo)
        .arg(QString::fromStdString(o.VideoTag));
}

// Selects the row as a click does and returns the record the panel then shows. Fails the test
// when a list shows anything but that record.
conversion::JobRecord shownRecord(MainWindow& window, int row, const QString& context) {
    window.ui().lvFiles->selectRow(row);
    const conversion::JobRecord record = conversion::MakeJobRecord(window.panelChoice());
    for (int box = 0; box < 6; ++box) {
        const app::PresetComboBox* list = window.ui().presetBoxes[box];
        if (list->currentText() != record.presets[box].entry ||
            list->effective() != record.presets[box].effective) {
            QTest::qFail(
                qPrintable(QStringLiteral("list %1 shows \"%2\" / \"%3\" for \"%4\" / \"%5\"; %6")
                               .arg(box)
                               .arg(list->currentText(), list->effective(),
                                    record.presets[box].entry, record.presets[box].effective,
                                    context)),
                __FILE__, __LINE__);
        }
    }
    return record;
}

const media::StreamSummary* streamOf(const media::TFileStreamInfo& info, bool video) {
    for (const auto& s : info.Streams) {
        if (s.video == video) {
            return &s;
        }
    }
    return nullptr;
}

// The output of a row, probed; empty description when it cannot be read.
media::TFileStreamInfo probeOutput(test::WindowFlow& flow, MainWindow& window, int row) {
    media::Probe probe;
    const QString path = flow.out.filePath(window.jobs().text(row, OutputFile));
    if (!probe.LoadFile(path.toStdString())) {
        QTest::qFail(
            qPrintable(path + QStringLiteral(": ") + QString::fromStdString(probe.LastErrMsg())),
            __FILE__, __LINE__);
        return {};
    }
    return probe.FileStreamInfo();
}

// The file a row wrote is what the panel shows for the row: codecs, rates and size.
void expectOutputAsShown(test::WindowFlow& flow, MainWindow& window, int row) {
    const conversion::JobRecord record =
        shownRecord(window, row, QStringLiteral("after the batch"));
    const media::TFileStreamInfo info = probeOutput(flow, window, row);
    const joblist::WorkingFields& f = record.fields;
    QVERIFY2(window.jobs().text(row, OutputFile).endsWith(record.extension),
             qPrintable(window.jobs().text(row, OutputFile)));
    const media::StreamSummary* audio = streamOf(info, false);
    QVERIFY(audio);
    if (!f.Video_AudioCodec.isEmpty() && f.Video_TargetType.isEmpty()) {
        const AVCodec* encoder = avcodec_find_encoder_by_name(
            media::encoderName(f.Video_AudioCodec.toStdString()).c_str());
        QVERIFY(encoder);
        QCOMPARE(audio->codec, std::string(avcodec_get_name(encoder->id)));
    }
    if (info.FormatName == "mp3" && f.Video_AudioBitrate > 0) {  // constant bit rate
        QCOMPARE(audio->bitRate, int64_t(f.Video_AudioBitrate));
    }
    bool numeric = false;
    const int rate = f.Video_AudioSampleRate.toInt(&numeric);
    if (numeric) {
        QCOMPARE(audio->sampleRate, rate);
    }
    const media::StreamSummary* video = streamOf(info, true);
    QCOMPARE(video != nullptr, !f.Video_DisableVideo);
    if (!video) {
        return;
    }
    if (!f.Video_FrameSize.isEmpty()) {
        QCOMPARE(QStringLiteral("%1*%2").arg(video->width).arg(video->height), f.Video_FrameSize);
    }
    AVRational fps{0, 1};
    if (!f.Video_FrameRate.isEmpty() &&
        av_parse_video_rate(&fps, f.Video_FrameRate.toUtf8().constData()) >= 0) {
        QVERIFY2(std::abs(video->frameRate - av_q2d(fps)) < 0.01,
                 qPrintable(QString::number(video->frameRate) + " " + f.Video_FrameRate));
    }
}

int entry(const QComboBox* list, const char* text) {
    const int position = list->findText(QString::fromUtf8(text));
    if (position < 0) {
        QTest::qFail(qPrintable(QStringLiteral("no entry ") + QString::fromUtf8(text)), __FILE__,
                     __LINE__);
    }
    return position;
}

}  // namespace

class RowRecordWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void everyRowBecomesTheTaskThePanelShows();
    void reportedCasesConvertAsShown_data();
    void reportedCasesConvertAsShown();
    void changesReachEverySelectedRowAndNamesStayUnique();
    void aSequenceWithStopAndStartKeepsThePromises();
    void keepingTheSourceQualityIsARowChoice();
};

// Seeded sequences of what users do; after each, every row's task is the record the panel
// shows for that row, its columns and slot hold the same, and nothing that showing it does
// changes a row.
void RowRecordWindowTest::everyRowBecomesTheTaskThePanelShows() {
    const MediaFiles& media = MediaFiles::get();
    const QStringList files = {media.tone, media.clip, media.shortClip};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        test::WindowFlow flow;
        MainWindow& window = flow.startWith();
        const app::MainWindowUi& ui = window.ui();
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return n > 0 ? int(random() % unsigned(n)) : 0; };
        QStringList done;
        for (int step = 0; step < 40; ++step) {
            const int rows = window.jobs().rowCount();
            switch (pick(12)) {
                case 0:
                case 1:
                    if (rows < 6) {
                        const QString file = files[pick(files.size())];
                        done << QStringLiteral("add ") + QFileInfo(file).fileName();
                        window.addFiles({file}, false);
                    }
                    break;
                case 2:
                    if (rows > 0) {
                        const int row = pick(rows);
                        done << QStringLiteral("click %1").arg(row);
                        ui.lvFiles->selectRow(row);
                    }
                    break;
                case 3:
                    if (rows > 0) {
                        const int row = pick(rows);
                        done << QStringLiteral("ctrl-click %1").arg(row);
                        ui.lvFiles->selectionModel()->setCurrentIndex(
                            window.jobs().index(row, 0),
                            QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
                    }
                    break;
                case 4: {
                    const int category = pick(15);
                    done << QStringLiteral("category %1").arg(category);
                    emit ui.categoryBox->activated(category);
                    break;
                }
                case 5: {
                    const int profile = pick(ui.profileBox->count());
                    done << QStringLiteral("profile %1").arg(profile);
                    emit ui.profileBox->activated(profile);
                    break;
                }
                case 6:
                case 7: {
                    const int box = pick(6);
                    QComboBox* list = ui.presetBoxes[box];
                    if (list->isEnabled()) {
                        const int position = pick(list->count());
                        done << QStringLiteral("list %1 entry %2").arg(box).arg(position);
                        emit list->activated(position);
                    }
                    break;
                }
                case 8:
                    if (window.selectedRow() >= 0) {
                        done << QStringLiteral("rename");
                        window.StartRename();
                        ui.edt->setText(QStringLiteral("名字 %1").arg(pick(3)));
                        window.CommitRename();
                    }
                    break;
                case 9:
                    done << QStringLiteral("move");
                    pick(2) ? window.MoveRowUp() : window.MoveRowDown();
                    break;
                case 10:
                    if (pick(3) == 0) {
                        done << QStringLiteral("remove");
                        window.btnRemoveClick();
                    } else {
                        done << QStringLiteral("deselect");
                        ui.lvFiles->clearSelection();
                    }
                    break;
                case 11:
                    done << QStringLiteral("apply to all");
                    window.ApplyToAllJobs();
                    break;
            }
        }
        const QString context =
            QStringLiteral("seed %1: %2").arg(seed).arg(done.join(QStringLiteral(", ")));

        // What start would build, on a converter of its own, before any row is shown again.
        media::Converter converter;
        const conversion::BuildResult built = conversion::BuildConversionTasks(
            window.jobs(), window.jobSlots(), converter, flow.out.path(), false);
        QVERIFY2(built.failures.empty(), qPrintable(context));
        QCOMPARE(int(built.taskRows.size()), window.jobs().rowCount());
        for (int task = 0; task < int(built.taskRows.size()); ++task) {
            const int row = window.jobs().positionOf(built.taskRows[task]);
            const JobRow before = window.jobs().row(row);
            const conversion::JobRecord record = shownRecord(window, row, context);
            QCOMPARE(window.jobs().row(row).text, before.text);  // showing a row changes nothing
            QVERIFY2(
                describe(*converter.TaskOutput(task)) == describe(conversion::TaskOptions(record)),
                qPrintable(describe(*converter.TaskOutput(task)) + QStringLiteral(" | ") +
                           describe(conversion::TaskOptions(record)) + QStringLiteral(" | ") +
                           context));
            QVERIFY2(describe(window.jobSlots().output(before.slot)) ==
                         describe(conversion::TaskOptions(record)),
                     qPrintable(context));
            JobRow expected = before;
            conversion::WriteRecordColumns(expected, record);
            QVERIFY2(expected.text == before.text, qPrintable(context));
            QVERIFY2(before.text[OutputFile].endsWith(record.extension), qPrintable(context));
        }
    }
}

// The sequences that once converted files with other settings than the window showed.
using Steps = std::function<void(test::WindowFlow&, MainWindow&)>;
Q_DECLARE_METATYPE(Steps)

void RowRecordWindowTest::reportedCasesConvertAsShown_data() {
    QTest::addColumn<Steps>("steps");
    const MediaFiles& media = MediaFiles::get();
    const auto select = [](MainWindow& window, int category, int profile) {
        emit window.ui().categoryBox->activated(category);
        emit window.ui().profileBox->activated(profile);
    };
    const auto pickEntry = [](MainWindow& window, Box box, const char* text) {
        QComboBox* list = window.ui().presetBoxes[box];
        emit list->activated(entry(list, text));
    };

    QTest::newRow("1: a row switched from MP3 to WAV holds PCM")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 1, 0);
               window.addFiles({flow.copy(media.tone, QStringLiteral("a.wav"))}, false);
               select(window, 0, 0);
               QCOMPARE(window.jobs().text(0, OutputFile), QStringLiteral("a.wav"));
               QCOMPARE(window.jobs().text(0, AudioCodec), QString());
           });
    QTest::newRow("2: rows switched to AIFF, M4A and MP2 after adding under MP3")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 1, 0);
               const QString tone = flow.copy(media.tone, QStringLiteral("a.wav"));
               window.addFiles({tone, tone, tone}, false);
               for (const auto& [row, profile] : {std::pair{0, 8}, {1, 4}, {2, 9}}) {
                   window.ui().lvFiles->selectRow(row);
                   select(window, 3, profile);
               }
           });
    QTest::newRow("3: DVD, then a row kept at its own size under 3300")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               test::MediaSpec spec;
               spec.width = 640;
               spec.height = 360;
               spec.seconds = 0.6;
               const QString wide = flow.in.filePath(QStringLiteral("wide.avi"));
               QCOMPARE(test::makeMedia(wide.toStdString(), spec), std::string());
               select(window, 4, 11);
               window.addFiles({wide}, false);
               select(window, 11, 0);
               pickEntry(window, Box::FrameSizeBox, "保持原分辨率");
               QCOMPARE(window.jobs().text(0, FrameSize), QString());
           });
    QTest::newRow("4: adding a file leaves the selected row's choices alone")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 1, 0);
               window.addFiles({flow.copy(media.tone, QStringLiteral("a.wav"))}, false);
               pickEntry(window, Box::AudioBitrateBox, "16 kbps");
               pickEntry(window, Box::SampleRateBox, "11025");
               // Row A is still selected when B comes; then B gets choices of its own.
               window.addFiles({flow.copy(media.tone, QStringLiteral("b.wav"))}, false);
               QCOMPARE(window.selectedRow(), 1);
               pickEntry(window, Box::AudioBitrateBox, "320 kbps");
               pickEntry(window, Box::SampleRateBox, "48000");
               QCOMPARE(window.jobs().text(0, AudioBitrate), QStringLiteral("16000"));
               QCOMPARE(window.jobs().text(0, AudioSampleRate), QStringLiteral("11025"));
           });
    QTest::newRow("5: a frame rate set on row A survives adding B")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 12, 4);  // 1004
               window.addFiles({flow.copy(media.shortClip, QStringLiteral("a.avi"))}, false);
               pickEntry(window, Box::FrameRateBox, "15.00");
               window.addFiles({flow.copy(media.shortClip, QStringLiteral("b.avi"))}, false);
               QCOMPARE(window.jobs().text(0, FrameRate), QStringLiteral("15.00"));
           });
    QTest::newRow("6: iPod on row 1, clicks back and forth")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 4, 0);
               window.addFiles({flow.copy(media.shortClip, QStringLiteral("a.avi")),
                                flow.copy(media.shortClip, QStringLiteral("b.avi"))},
                               false);
               window.ui().lvFiles->selectRow(0);
               select(window, 5, 0);
               window.ui().lvFiles->selectRow(1);
               window.ui().lvFiles->selectRow(0);
               QCOMPARE(window.ui().categoryBox->currentIndex(), 5);
               QVERIFY(DecodePresetPositions(window.jobs().text(0, PresetPositionsColumn)));
               QCOMPARE(window.fields().T_Movie_PLayer_FileName, window.jobs().text(0, InputFile));
           });
    QTest::newRow("7: disc standards show their fixed values") << Steps([=](test::WindowFlow& flow,
                                                                            MainWindow& window) {
        const QString clip = flow.copy(media.shortClip, QStringLiteral("a.avi"));
        for (const int disc : {11, 12, 13}) {
            select(window, 4, disc);
            window.ui().lvFiles->clearSelection();
            pickEntry(window, Box::FrameSizeBox, "352*240");
            pickEntry(window, Box::AudioBitrateBox, "64 kbps");
            QVERIFY(!window.ui().presetBoxes[Box::FrameSizeBox]->isEnabled());
            QVERIFY(!window.ui().presetBoxes[Box::AudioBitrateBox]->effective().isEmpty());
            window.addFiles({clip}, false);
            window.ui().lvFiles->clearSelection();
        }
        QCOMPARE(test::column(window, FrameSize), QStringList({"720*576", "480*576", "352*288"}));
    });
    QTest::newRow("8: MPEG-1 at 15 fps and WAV at 32 kbps say what they use")
        << Steps([=](test::WindowFlow& flow, MainWindow& window) {
               select(window, 4, 6);
               pickEntry(window, Box::FrameRateBox, "15.00");
               QCOMPARE(window.ui().presetBoxes[Box::FrameRateBox]->shownText(),
                        QStringLiteral("15.00→23.976"));
               window.addFiles({flow.copy(media.shortClip, QStringLiteral("a.avi"))}, false);
               select(window, 0, 0);
               window.ui().lvFiles->clearSelection();
               window.addFiles({flow.copy(media.tone, QStringLiteral("b.wav"))}, false);
               window.ui().lvFiles->selectRow(0);
               select(window, 4, 6);
               pickEntry(window, Box::FrameRateBox, "15.00");
               window.ui().lvFiles->selectRow(1);
               QCOMPARE(window.ui().presetBoxes[Box::AudioBitrateBox]->shownText(),
                        QStringLiteral("无损"));
               QVERIFY(!window.ui().presetBoxes[Box::AudioBitrateBox]->isEnabled());
           });
}

void RowRecordWindowTest::reportedCasesConvertAsShown() {
    QFETCH(Steps, steps);
    test::WindowFlow flow;
    MainWindow& window = flow.startWith("After_Done=3\nThread_Count=2\n");
    steps(flow, window);
    if (QTest::currentTestFailed()) {
        return;
    }
    window.btnStartClick();
    QVERIFY(test::waitForBatchEnd(window));
    for (int row = 0; row < window.jobs().rowCount(); ++row) {
        QCOMPARE(window.jobs().text(row, Progress), QStringLiteral("100%"));
        expectOutputAsShown(flow, window, row);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
}

void RowRecordWindowTest::changesReachEverySelectedRowAndNamesStayUnique() {
    test::WindowFlow flow;
    MainWindow& window = flow.startWith();
    const MediaFiles& media = MediaFiles::get();
    const app::MainWindowUi& ui = window.ui();
    QDir(flow.in.path()).mkpath(QStringLiteral("x"));
    const QString first = flow.copy(media.tone, QStringLiteral("song.wav"));
    const QString second = flow.copy(media.tone, QStringLiteral("x/song.wav"));
    const QString third = flow.copy(media.clip, QStringLiteral("clip.avi"));
    emit ui.categoryBox->activated(0);  // WAV
    window.addFiles({first}, false);
    emit ui.categoryBox->activated(1);  // MP3, for the selected first row too
    window.ui().lvFiles->clearSelection();
    window.addFiles({second, third}, false);
    QCOMPARE(test::column(window, OutputFile), QStringList({"song.mp3", "song_1.mp3", "clip.mp3"}));

    // Ctrl+A, then a new profile: every row gets it, and the names stay apart.
    ui.lvFiles->selectAll();
    QCOMPARE(window.selectedRows(), QList<int>({0, 1, 2}));
    emit ui.categoryBox->activated(2);  // WMA
    QCOMPARE(test::column(window, OutputFile), QStringList({"song.wma", "song_1.wma", "clip.wma"}));
    QCOMPARE(test::column(window, CatalogueSlotColumn), QStringList({"300", "300", "300"}));

    // Rows of different formats: a preset pick changes that one choice of each, and nothing else.
    ui.lvFiles->selectRow(1);
    emit ui.categoryBox->activated(1);  // row 1 back to MP3, the others stay WMA
    ui.lvFiles->selectAll();
    QComboBox* rate = ui.presetBoxes[Box::SampleRateBox];
    emit rate->activated(entry(rate, "22050"));
    QCOMPARE(test::column(window, CatalogueSlotColumn), QStringList({"300", "200", "300"}));
    QCOMPARE(test::column(window, AudioSampleRate), QStringList({"22050", "22050", "22050"}));
    QCOMPARE(test::column(window, OutputFile), QStringList({"song.wma", "song_1.mp3", "clip.wma"}));

    // Two rows of three: a preset reaches both, the third keeps its own.
    ui.lvFiles->selectRow(0);
    ui.lvFiles->selectionModel()->setCurrentIndex(
        window.jobs().index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QComboBox* bitrate = ui.presetBoxes[Box::AudioBitrateBox];
    emit bitrate->activated(entry(bitrate, "64 kbps"));
    QCOMPARE(test::column(window, AudioBitrate), QStringList({"64000", "160000", "64000"}));

    // The panel's format to every row, selected or not.
    ui.lvFiles->clearSelection();
    emit ui.categoryBox->activated(0);
    window.ApplyToAllJobs();
    QCOMPARE(test::column(window, OutputFile), QStringList({"song.wav", "song_1.wav", "clip.wav"}));
    QCOMPARE(test::column(window, AudioCodec), QStringList({"", "", ""}));
}

// Add, change, add again, rename, start, stop, start: every file as its row showed, the files that
// were in the folder before untouched.
void RowRecordWindowTest::aSequenceWithStopAndStartKeepsThePromises() {
    test::WindowFlow flow;
    MainWindow& window = flow.startWith("After_Done=3\nThread_Count=1\nOverwrite_File=1\n");
    const MediaFiles& media = MediaFiles::get();
    const app::MainWindowUi& ui = window.ui();
    const std::map<QString, QByteArray> before = {{QStringLiteral("b.mp3"), "mine"},
                                                  {QStringLiteral("b.wav"), "mine too"}};
    for (const auto& [name, bytes] : before) {
        QVERIFY(test::writeBytes(flow.out.filePath(name), bytes));
    }
    const auto pickEntry = [&](Box box, const char* text) {
        emit ui.presetBoxes[box]->activated(entry(ui.presetBoxes[box], text));
    };

    emit ui.categoryBox->activated(1);  // MP3
    window.addFiles({flow.copy(media.longTone, QStringLiteral("a.wav"))}, false);
    pickEntry(Box::SampleRateBox, "22050");
    window.addFiles({flow.copy(media.longTone, QStringLiteral("b.wav"))}, false);  // row 0 selected
    ui.lvFiles->selectRow(1);
    emit ui.categoryBox->activated(0);  // WAV for b
    emit ui.profileBox->activated(1);
    ui.lvFiles->clearSelection();
    emit ui.categoryBox->activated(12);  // MP4 for the clip
    emit ui.profileBox->activated(4);
    pickEntry(Box::FrameRateBox, "15.00");
    window.addFiles({flow.copy(media.clip, QStringLiteral("c.avi"))}, false);
    ui.lvFiles->selectRow(0);
    window.show();
    window.StartRename();
    ui.edt->setText(QStringLiteral("b"));
    QVERIFY(window.CommitRename());
    QCOMPARE(test::column(window, OutputFile), QStringList({"b.mp3", "b_1.wav", "c.mp4"}));

    window.btnStartClick();
    QTRY_VERIFY(!window.jobs().text(0, Progress).isEmpty());
    window.btnStopClick();
    QVERIFY(test::waitForBatchEnd(window));
    QVERIFY(!test::column(window, Progress).contains(QStringLiteral("100%")));
    QCOMPARE(flow.outputs(), QStringList({"b.mp3", "b.wav"}));  // nothing half-written

    window.btnStartClick();
    QVERIFY(test::waitForBatchEnd(window));
    QCOMPARE(test::column(window, Progress), QStringList({"100%", "100%", "100%"}));
    QCOMPARE(test::column(window, OutputFile), QStringList({"b_1.mp3", "b_1.wav", "c.mp4"}));
    for (const auto& [name, bytes] : before) {
        QCOMPARE(test::readBytes(flow.out.filePath(name)), bytes);
    }
    for (int row = 0; row < 3; ++row) {
        expectOutputAsShown(flow, window, row);
    }
    QCOMPARE(shownRecord(window, 0, {}).fields.Video_AudioSampleRate, QStringLiteral("22050"));
    QCOMPARE(shownRecord(window, 2, {}).fields.Video_FrameRate, QStringLiteral("15.00"));
}

// "保持原始音质" is one row's choice like any other: a hi-res row keeps 96 kHz/24-bit, a row
// added after the panel went back to 48000 is 16-bit, and selecting rows changes neither.
void RowRecordWindowTest::keepingTheSourceQualityIsARowChoice() {
    test::WindowFlow flow;
    MainWindow& window = flow.startWith();
    const app::MainWindowUi& ui = window.ui();
    test::MediaSpec spec;
    spec.seconds = 0.5;
    spec.video = false;
    spec.sampleRate = 96000;
    spec.bits = 24;
    const QString hires = flow.in.filePath(QStringLiteral("hires.flac"));
    QCOMPARE(test::makeMedia(hires.toStdString(), spec), std::string());
    emit ui.categoryBox->activated(0);  // WAV
    emit ui.profileBox->activated(0);   // 3000
    window.addFiles({hires}, false);
    QComboBox* rate = ui.presetBoxes[Box::SampleRateBox];
    emit rate->activated(entry(rate, "保持原始音质"));
    ui.lvFiles->clearSelection();
    emit rate->activated(entry(rate, "48000"));
    window.addFiles({hires}, false);
    ui.lvFiles->selectRow(0);
    QCOMPARE(rate->currentText(), QStringLiteral("保持原始音质"));
    ui.lvFiles->selectRow(1);
    QCOMPARE(rate->currentText(), QStringLiteral("48000"));
    QCOMPARE(test::column(window, AudioSampleRate), QStringList({"保持原始音质", "48000"}));

    window.btnStartClick();
    QVERIFY(test::waitForBatchEnd(window));
    const std::pair<int, int> expected[] = {{96000, 24}, {48000, 16}};
    for (int row = 0; row < 2; ++row) {
        const media::TFileStreamInfo info = probeOutput(flow, window, row);
        QCOMPARE(info.Streams.size(), size_t(1));
        QCOMPARE(info.Streams[0].sampleRate, expected[row].first);
        QCOMPARE(info.Streams[0].bitsPerSample, expected[row].second);
    }
}

QTEST_MAIN(RowRecordWindowTest)
#include "RowRecordWindowTest.moc"
