#include "app/OfficeComboBox.h"
#include "joblist/TextFormats.h"
#include "settings/OptionsDialog.h"
#include "support/WindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace talwyn;
using app::MainWindow;
using app::MainWindowUi;
using Box = app::MainWindowUi::PresetBox;
using namespace talwyn::joblist;

namespace {

QStringList shownPresets(const MainWindow& window) {
    QStringList texts;
    for (QComboBox* list : window.ui().presetBoxes) {
        texts << list->currentText();
    }
    return texts;
}

QList<bool> enabledPresets(const MainWindow& window) {
    QList<bool> states;
    for (QComboBox* list : window.ui().presetBoxes) {
        states << list->isEnabled();
    }
    return states;
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->itemText(i);
    }
    return texts;
}

// A row as adding a file under the profile in force would leave it, selected.
int addSelectedRow(MainWindow& window, const QString& outputName) {
    const auto& boxes = window.ui().presetBoxes;
    JobRow row;
    row.text[InputFile] = QStringLiteral("/in/") + outputName;
    row.text[OutputFile] = outputName;
    row.text[Sequence] = QStringLiteral("1");
    row.text[PresetPositionsColumn] = EncodePresetPositions(
        {boxes[Box::FrameSizeBox]->currentIndex(), boxes[Box::VideoBitrateBox]->currentIndex(),
         boxes[Box::AudioBitrateBox]->currentIndex(), boxes[Box::AspectBox]->currentIndex(),
         boxes[Box::FrameRateBox]->currentIndex(), boxes[Box::SampleRateBox]->currentIndex()});
    row.slot = 0;
    const int position = window.jobs().appendRow(row);
    window.ui().lvFiles->selectRow(position);
    return position;
}

int positionOf(const QComboBox* list, const char* text) {
    return list->findText(QString::fromUtf8(text));
}

}  // namespace

class CatalogueWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startShowsTheFirstWavProfile();
    void profilesFillTheirPresetLists_data();
    void profilesFillTheirPresetLists();
    void presetPicksRewriteTheSelectedRow();
    void picksWithoutASelectedRowOnlyReachNewRows();
    void profileChangeRewritesTheSelectedRow();
    void profileChangeRewritesEveryPosition();
    void pickingTheSameCategoryOrProfileAgain();
    void outputNameIsMadeUnique();
};

void CatalogueWindowTest::startShowsTheFirstWavProfile() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    const MainWindowUi& ui = window.ui();
    QCOMPARE(ui.categoryBox->count(), 15);
    QCOMPARE(ui.categoryBox->currentIndex(), 0);
    QCOMPARE(ui.categoryBox->itemData(0, Qt::UserRole + 1).toString(), QStringLiteral("WAV音频"));
    QCOMPARE(ui.categoryBox->itemData(14, Qt::UserRole + 1).toString(), QStringLiteral("H264视频"));
    QVERIFY(!ui.categoryBox->itemIcon(0).isNull());
    QCOMPARE(entries(ui.profileBox), QStringList({QStringLiteral("高清晰WAV音频格式(*.wav)"),
                                                  QStringLiteral("高压缩WAV音频格式(*.wav)"),
                                                  QStringLiteral("优化WAV音频格式(*.wav)"),
                                                  QStringLiteral("标准WAV音频格式(*.wav)")}));
    QCOMPARE(ui.profileBox->currentIndex(), 0);
    QCOMPARE(ui.profileBox->itemData(1, Qt::UserRole + 1).toString(),
             QStringLiteral("WAV音频格式，可以转换高压缩的WAV音频格式"));
    QCOMPARE(window.fields().All_Trant_Number, 3100);
    QCOMPARE(shownPresets(window),
             QStringList({QStringLiteral("该格式无视频"), QStringLiteral("无视频"),
                          QStringLiteral("无视频"), QStringLiteral("192 kbps"),
                          QStringLiteral("48000"), QStringLiteral("无视频")}));
    // PCM takes no bit rate: the list is locked and says so.
    QCOMPARE(enabledPresets(window), QList<bool>({false, false, false, false, true, false}));
    QCOMPARE(ui.presetBoxes[Box::AudioBitrateBox]->shownText(), QStringLiteral("无损"));
    QCOMPARE(ui.presetBoxes[Box::AudioBitrateBox]->count(), 17);
    // The six rates, then the entry that keeps a hi-res source as it is.
    QCOMPARE(ui.presetBoxes[Box::SampleRateBox]->count(), 7);
    QCOMPARE(ui.presetBoxes[Box::SampleRateBox]->itemText(6), QStringLiteral("保持原始音质"));
}

void CatalogueWindowTest::profilesFillTheirPresetLists_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("allTrantNumber");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<QList<int>>("counts");

    const QList<bool> all = {true, true, true, true, true, true};
    QTest::newRow("H264, first profile")
        << 14 << 0 << 2700
        << QStringList{"1280*720", "1800 kbps", "29.97", "128 kbps", "44100", "保持原视频模式"}
        << all << QList<int>{28, 16, 12, 17, 6, 5};
    QTest::newRow("profile 9, whole frame rates")
        << 4 << 9 << 109
        << QStringList{"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"} << all
        << QList<int>{11, 15, 7, 6, 1, 2};
    QTest::newRow("profile 112, decimal audio rates")
        << 3 << 12 << 212
        << QStringList{"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}
        << QList<bool>{false, false, false, true, true, false} << QList<int>{1, 1, 1, 8, 1, 1};
    QTest::newRow("profile 309 has its presets")
        << 5 << 9 << 409
        << QStringList{"640*480", "1200 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"}
        << all << QList<int>{12, 9, 10, 5, 4, 5};
}

void CatalogueWindowTest::profilesFillTheirPresetLists() {
    QFETCH(int, category);
    QFETCH(int, profile);
    QFETCH(int, allTrantNumber);
    QFETCH(QStringList, shown);
    QFETCH(QList<bool>, enabled);
    QFETCH(QList<int>, counts);
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();  // starts on an audio-only profile
    window.selectCategory(category);
    window.selectProfile(profile);
    QCOMPARE(window.fields().All_Trant_Number, allTrantNumber);
    QCOMPARE(shownPresets(window), shown);
    QCOMPARE(enabledPresets(window), enabled);
    QList<int> actualCounts;
    for (QComboBox* list : window.ui().presetBoxes) {
        actualCounts << list->count();
    }
    QCOMPARE(actualCounts, counts);
}

void CatalogueWindowTest::presetPicksRewriteTheSelectedRow() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    window.selectCategory(4);  // profile 0
    const int row = addSelectedRow(window, QStringLiteral("clip.avi"));
    const auto& boxes = window.ui().presetBoxes;
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("000310000904"));

    window.selectPreset(Box::SampleRateBox, positionOf(boxes[Box::SampleRateBox], "48000"));
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("000310000905"));
    QCOMPARE(window.jobs().text(row, AudioSampleRate), QStringLiteral("48000"));

    window.selectPreset(Box::FrameSizeBox, positionOf(boxes[Box::FrameSizeBox], "704*480"));
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("120310000905"));
    QCOMPARE(window.jobs().text(row, FrameSize), QStringLiteral("704*480"));
    QCOMPARE(window.fields().Video_FrameSize, QStringLiteral("704*480"));

    const struct {
        Box box;
        const char* entry;
        JobColumn column;
        const char* written;
        const char* positions;
    } picks[] = {
        {Box::FrameSizeBox, "720*480", FrameSize, "720*480", "140310000905"},
        {Box::FrameSizeBox, "保持原分辨率", FrameSize, "", "000310000905"},
        {Box::FrameSizeBox, "2560*1600", FrameSize, "2560*1600", "270310000905"},
        {Box::VideoBitrateBox, "1200 kbps", VideoBitrate, "1200000", "270410000905"},
        {Box::AudioBitrateBox, "320 kbps", AudioBitrate, "320000", "270416000905"},
        {Box::AspectBox, "宽屏视频47:20模式", FrameAspectRatio, "47:20", "270416040905"},
        {Box::AspectBox, "保持原视频模式", FrameAspectRatio, "", "270416000905"},
        {Box::FrameRateBox, "29.97", FrameRate, "29.97", "270416001005"},
        {Box::FrameRateBox, "保持原帧速率", FrameRate, "", "270416000005"},
    };
    for (const auto& pick : picks) {
        window.selectPreset(pick.box, positionOf(boxes[pick.box], pick.entry));
        QCOMPARE(window.jobs().text(row, pick.column), QString::fromUtf8(pick.written));
        QCOMPARE(window.jobs().text(row, PresetPositionsColumn),
                 QString::fromLatin1(pick.positions));
    }

    // Picking the entry already shown writes the row's whole record again.
    window.jobs().setText(row, FrameRate, QStringLiteral("stale"));
    window.jobs().setText(row, AudioCodec, QStringLiteral("stale"));
    window.selectPreset(Box::FrameRateBox, 0);
    QCOMPARE(window.jobs().text(row, FrameRate), QString());
    QCOMPARE(window.jobs().text(row, AudioCodec), QStringLiteral("libmp3lame"));
}

void CatalogueWindowTest::picksWithoutASelectedRowOnlyReachNewRows() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    window.selectCategory(4);
    const int row = addSelectedRow(window, QStringLiteral("a.avi"));
    window.ui().lvFiles->clearSelection();
    const QString before = window.fields().Video_FrameSize;
    const auto& boxes = window.ui().presetBoxes;

    window.selectPreset(Box::FrameSizeBox, positionOf(boxes[Box::FrameSizeBox], "640*480"));
    QCOMPARE(before, QString());
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("000310000904"));
    QCOMPARE(window.jobs().text(row, FrameSize), QString());

    // The working settings follow the panel at once: they are what the next file gets.
    QCOMPARE(window.fields().Video_FrameSize, QStringLiteral("640*480"));
    QCOMPARE(window.fields().Video_VideoBitrate, 816000);
    QCOMPARE(window.fields().Video_FrameRate, QStringLiteral("25.00"));
    QCOMPARE(window.fields().Video_AudioBitrate, 128000);
    QCOMPARE(window.fields().Video_AudioSampleRate, QStringLiteral("44100"));
    QCOMPARE(window.fields().Video_FrameAspectRatio, QString());
}

void CatalogueWindowTest::profileChangeRewritesTheSelectedRow() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    const int row = addSelectedRow(window, QStringLiteral("song.wav"));

    window.selectCategory(1);  // profile 2900
    const struct {
        JobColumn column;
        const char* text;
    } mp3[] = {
        {OutputFile, "song.mp3"},
        {CatalogueSlotColumn, "200"},
        {AudioCodec, "libmp3lame"},
        {AudioChannels, "2"},
        {FileExt, ".mp3"},
        {DisableVideo, "True"},
        {VideoCodec, ""},
        {VideoTag, ""},
        {TargetType, ""},
        // the preset columns hold what the lists show
        {FrameSize, ""},
        {VideoBitrate, "-1000"},
        {FrameRate, ""},
        {AudioBitrate, "192000"},
        {AudioSampleRate, "48000"},
        {FrameAspectRatio, ""},
    };
    for (const auto& cell : mp3) {
        QCOMPARE(window.jobs().text(row, cell.column), QString::fromUtf8(cell.text));
    }
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("000013000005"));

    window.selectCategory(4);
    window.selectProfile(11);  // DVD
    const struct {
        JobColumn column;
        const char* text;
    } dvd[] = {
        {OutputFile, "song.mpg"},
        {CatalogueSlotColumn, "511"},
        {TargetType, "dvd"},
        {NormType, "PAL"},
        {FileExt, ""},
        {AudioCodec, ""},
        {DisableVideo, "False"},
        // the DVD standard's own values, which the locked lists show
        {FrameSize, "720*576"},
        {VideoBitrate, "6000000"},
        {FrameRate, "25/1"},
        {AudioBitrate, "448000"},
        {AudioSampleRate, "48000"},
    };
    for (const auto& cell : dvd) {
        QCOMPARE(window.jobs().text(row, cell.column), QString::fromUtf8(cell.text));
    }

    QCOMPARE(enabledPresets(window), QList<bool>({false, false, false, false, false, true}));
    QCOMPARE(window.ui().presetBoxes[Box::FrameSizeBox]->shownText(), QStringLiteral("720*576"));

    window.selectCategory(11);  // 3300: titled .mp4, writes AVI, so the name says .avi
    QCOMPARE(window.jobs().text(row, OutputFile), QStringLiteral("song.avi"));
    QCOMPARE(window.jobs().text(row, FileExt), QStringLiteral(".avi"));
}

void CatalogueWindowTest::profileChangeRewritesEveryPosition() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    window.selectCategory(4);  // profile 0
    const int row = addSelectedRow(window, QStringLiteral("clip.avi"));
    // A position no list of the profile has: a profile change puts every position back on the
    // entries the new profile's lists show.
    window.jobs().setText(row, PresetPositionsColumn, QStringLiteral("990310000904"));
    window.selectProfile(2);
    QCOMPARE(window.jobs().text(row, PresetPositionsColumn), QStringLiteral("000410000904"));
}

void CatalogueWindowTest::pickingTheSameCategoryOrProfileAgain() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    const MainWindowUi& ui = window.ui();
    window.selectCategory(4);
    window.selectProfile(2);
    emit ui.categoryBox->activated(4);  // the user picks the category already shown
    QCOMPARE(ui.profileBox->currentIndex(), 0);
    QCOMPARE(window.fields().All_Trant_Number, 100);

    QComboBox* frameSize = ui.presetBoxes[Box::FrameSizeBox];
    frameSize->setCurrentIndex(positionOf(frameSize, "320*240"));
    emit frameSize->activated(frameSize->currentIndex());
    QCOMPARE(frameSize->currentText(), QStringLiteral("320*240"));
    emit ui.profileBox->activated(0);  // the profile already shown
    QCOMPARE(frameSize->currentText(), QStringLiteral("保持原分辨率"));
}

void CatalogueWindowTest::outputNameIsMadeUnique() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    const QString folder = fixture.home.path();
    window.ui().folderEdit->setText(folder);
    window.fields().Video_AddFileName = QStringLiteral("/in/clip.avi");
    window.selectCategory(1);  // 2900

    window.ApplyProfileSettings();
    QCOMPARE(window.fields().Video_OutPutFileName, folder + QStringLiteral("/clip.mp3"));
    for (const char* name : {"clip.mp3", "clip_1.mp3"}) {
        QFile file(folder + '/' + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    window.ApplyProfileSettings();
    QCOMPARE(window.fields().Video_OutPutFileName, folder + QStringLiteral("/clip_2.mp3"));

    window.options().findChildren<QRadioButton*>().at(4)->click();  // "直接覆盖输出文件"
    QVERIFY(window.options().overwriteFile());
    window.ApplyProfileSettings();
    QCOMPARE(window.fields().Video_OutPutFileName, folder + QStringLiteral("/clip.mp3"));

    // Nothing of a profile applied before stays behind.
    window.selectCategory(4);
    window.ApplyProfileSettings();
    const joblist::WorkingFields afterMp3 = window.fields();
    window.ResetProfileSettings();
    window.ApplyProfileSettings();
    const joblist::WorkingFields fresh = window.fields();
    QCOMPARE(afterMp3.Video_AudioCodec, fresh.Video_AudioCodec);
    QCOMPARE(afterMp3.Video_VideoTag, QStringLiteral("XVID"));
    QCOMPARE(afterMp3.Video_DisableVideo, false);
    QCOMPARE(afterMp3.Video_AudioSampleRate, QStringLiteral("44100"));
    QCOMPARE(afterMp3.Video_OutPutFileName, folder + QStringLiteral("/clip.avi"));
}

QTEST_MAIN(CatalogueWindowTest)
#include "CatalogueWindowTest.moc"
