#include "media/Player.h"
#include "preview/PreviewScreen.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace talwyn;
using app::MainWindow;
using test::MediaFiles;

namespace {

struct Preview : test::WindowFixture {
    QTemporaryDir in;

    MainWindow& startWith(const QByteArray& extra = {}) {
        writeIni("[Options]\nAfter_Done=3\n" + extra);
        MainWindow& window = start();
        window.show();
        return window;
    }
    QString clip(const char* name, double seconds) {
        const QString path = in.filePath(QString::fromUtf8(name));
        test::MediaSpec spec;
        spec.seconds = seconds;
        makeMedia(path.toStdString(), spec);
        return path;
    }
};

bool showsPicture(MainWindow& window) {
    return !window.ui().screen->picture().isNull();
}

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void selectingARowOpensItPausedAtTheStart();
    void playMovesTheSliderAndReleasingItSeeks();
    void aClickOnTheTrackOrAnArrowKeySeeks();
    void theEndReturnsToTheStartPaused();
    void stopReopensAndMuteSwapsTheButtons();
    void thePreviewWorksDuringABatch();
    void snapshots_data();
    void snapshots();
    void snapshotSettings();
};

void PreviewWindowTest::selectingARowOpensItPausedAtTheStart() {
    Preview preview;
    MainWindow& window = preview.startWith();
    QCOMPARE(window.TakeSnapshot(), QString());  // nothing shown yet: nothing saved
    window.addFiles({MediaFiles::get().clip}, false);
    QTRY_VERIFY(showsPicture(window));
    QVERIFY(window.player().isOpen());
    QVERIFY(window.player().isPaused());
    QCOMPARE(window.ui().slider->value(), 0);
    QCOMPARE(window.ui().slider->maximum(), 200);
    QVERIFY(qAbs(window.previewDuration() - 2000000) < 100000);
    // The picture keeps the clip's shape inside the 200 x 124 screen.
    QCOMPARE(window.ui().screen->picture().size(), QSize(164, 124));
    QTest::qWait(300);
    QCOMPARE(window.ui().slider->value(), 0);  // it stays at the start

    window.ui().lvFiles->clearSelection();
    QTest::mouseClick(window.ui().lvFiles->viewport(), Qt::LeftButton, {}, QPoint(100, 150));
    QTRY_VERIFY(!window.player().isOpen());  // an empty click stops the preview
    QTRY_VERIFY(!showsPicture(window));      // and the screen is repainted empty
}

void PreviewWindowTest::playMovesTheSliderAndReleasingItSeeks() {
    Preview preview;
    MainWindow& window = preview.startWith();
    window.addFiles({preview.clip("ten.avi", 10)}, false);
    QTRY_VERIFY(showsPicture(window));
    window.PreviewPlay();
    QTest::qWait(1500);
    const int moved = window.ui().slider->value();
    // 1.5 s of 10 is 30 of 200; a loaded machine may lag a little behind.
    QVERIFY2(moved >= 12 && moved <= 40, qPrintable(QString::number(moved)));

    window.PreviewPause();
    QSlider* slider = window.ui().slider;
    window.SliderPressed();
    QCOMPARE(window.sliderState(), QStringLiteral("Down"));
    slider->setValue(50);
    window.SliderReleased();  // 50 of 200 on 10 s: 2.5 s, and it plays on
    QCOMPARE(window.sliderState(), QStringLiteral("UP"));
    QVERIFY(!window.player().isPaused());
    QTRY_VERIFY(slider->value() >= 51);
    QVERIFY(slider->value() < 70);
}

// A click on the track jumps there and plays on, as dragging the handle there would; the arrow
// keys step and the picture follows, paused or playing as it was. Taking the selection away
// stops the player at once.
void PreviewWindowTest::aClickOnTheTrackOrAnArrowKeySeeks() {
    Preview preview;
    MainWindow& window = preview.startWith();
    window.addFiles({preview.clip("ten.avi", 10)}, false);
    QTRY_VERIFY(showsPicture(window));
    QSlider* slider = window.ui().slider;
    QVERIFY(window.player().isPaused());
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 3 / 4, 9));
    QVERIFY2(slider->value() >= 140 && slider->value() <= 160,
             qPrintable(QString::number(slider->value())));
    QVERIFY(!window.player().isPaused());
    QTRY_VERIFY(slider->value() > 152);  // playing on from 7.5 s, not from the start
    QVERIFY(slider->value() < 190);

    window.PreviewPause();
    QTest::qWait(100);  // the positions reported before the pause have arrived
    slider->setValue(100);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Left);  // one step of 5: 4.75 s, and still paused
    QCOMPARE(slider->value(), 95);
    QTest::qWait(300);
    QVERIFY(window.player().isPaused());
    window.PreviewPlay();
    QTRY_VERIFY(slider->value() > 96);
    QVERIFY2(slider->value() < 120, qPrintable(QString::number(slider->value())));

    window.ui().lvFiles->clearSelection();
    QVERIFY(!window.player().isOpen());
}

void PreviewWindowTest::theEndReturnsToTheStartPaused() {
    Preview preview;
    MainWindow& window = preview.startWith();
    window.addFiles({MediaFiles::get().clip}, false);
    QTRY_VERIFY(showsPicture(window));
    window.PreviewPlay();
    QTRY_VERIFY_WITH_TIMEOUT(window.ui().mmoLog->toPlainText().contains(QStringLiteral("\nEnd")),
                             10000);
    QTRY_COMPARE(window.ui().slider->value(), 0);
    QVERIFY(window.player().isPaused());
    QVERIFY(showsPicture(window));
}

void PreviewWindowTest::stopReopensAndMuteSwapsTheButtons() {
    Preview preview;
    MainWindow& window = preview.startWith();
    window.addFiles({MediaFiles::get().clip}, false);
    QTRY_VERIFY(showsPicture(window));
    window.PreviewPlay();
    QTest::qWait(300);
    window.PreviewStop();
    QVERIFY(window.player().isOpen());
    QVERIFY(window.player().isPaused());
    QTRY_COMPARE(window.ui().slider->value(), 0);

    window.ui().muteButton->click();
    QVERIFY(window.player().mute());
    QVERIFY(!window.ui().muteButton->isVisible() && window.ui().unmuteButton->isVisible());
    window.ui().unmuteButton->click();
    QVERIFY(!window.player().mute());
    QVERIFY(window.ui().muteButton->isVisible() && !window.ui().unmuteButton->isVisible());

    window.ui().lvFiles->clearSelection();
    window.player().Stop(true);
    window.PreviewStop();  // without a selected row: nothing
    QVERIFY(!window.player().isOpen());
}

void PreviewWindowTest::thePreviewWorksDuringABatch() {
    Preview preview;
    QTemporaryDir out;
    MainWindow& window =
        preview.startWith("Thread_Count=1\n[OutPath]\nOutPath=" + out.path().toUtf8() + "\n");
    window.selectCategory(14);
    window.addFiles({MediaFiles::get().longTone, preview.clip("six.avi", 6)}, false);
    window.btnStartClick();
    QTRY_VERIFY(showsPicture(window));  // the selected clip
    window.PreviewPlay();
    QTRY_VERIFY_WITH_TIMEOUT(window.ui().slider->value() > 10, 5000);
    window.btnStopClick();
}

void PreviewWindowTest::snapshots_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("types");  // chosen before each snapshot; empty: as stored
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first and second")
        << QByteArray() << QStringList{"", ""} << QStringList{"holiday_1.bmp", "holiday_2.bmp"};
    QTest::newRow("another type beside an existing name")
        << QByteArray() << QStringList{"", "JPG", "GIF", "PNG"}
        << QStringList{"holiday_1.bmp", "holiday_1.jpg", "holiday_1.gif", "holiday_1.png"};
    QTest::newRow("lower-case jpg is taken as BMP")
        << QByteArray("[SnapShot]\nPicture=jpg\n") << QStringList{""}
        << QStringList{"holiday_1.bmp"};
}

void PreviewWindowTest::snapshots() {
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, types);
    QFETCH(QStringList, expected);
    Preview preview;
    MainWindow& window = preview.startWith(ini);
    window.addFiles({preview.clip("holiday.avi", 2)}, false);
    QTRY_VERIFY(showsPicture(window));
    const QSize shown = window.ui().screen->picture().size();
    const QString folder = QDir::homePath() + QStringLiteral("/Talwyn视频软件/快照");
    QStringList saved;
    for (const QString& type : types) {
        if (!type.isEmpty()) {
            window.ChooseSnapshotType(QStringList({"BMP", "JPG", "GIF", "PNG"}).indexOf(type));
        }
        const QString path = window.TakeSnapshot();
        QVERIFY(!path.isEmpty());
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
        saved << QFileInfo(path).fileName();
        QImageReader reader(path);
        QCOMPARE(reader.size(), shown);
    }
    QCOMPARE(saved, expected);
    QVERIFY(preview.iniText().contains("Picture="));
}

void PreviewWindowTest::snapshotSettings() {
    Preview preview;
    MainWindow& window = preview.startWith();
    QVERIFY(window.ui().snapshotTypeItems[0]->isChecked());
    window.ChooseSnapshotType(3);
    QVERIFY(window.ui().snapshotTypeItems[3]->isChecked() &&
            !window.ui().snapshotTypeItems[0]->isChecked());
    QVERIFY(preview.iniText().contains("Picture=PNG"));

    window.ChooseSnapshotFolder();  // cancelled
    QCOMPARE(preview.dialogs.folderTitle, QStringLiteral("选择输出目录"));
    QVERIFY(!preview.iniText().contains("Dir="));
    const QString chosen = preview.in.filePath("shots");
    QDir().mkpath(chosen);
    preview.dialogs.folderAnswer = chosen;
    window.ChooseSnapshotFolder();
    QVERIFY(preview.iniText().contains(("Dir=" + chosen).toUtf8()));

    QDir(chosen).removeRecursively();  // a vanished folder is made again
    window.OpenSnapshotFolder();
    QVERIFY(QFileInfo(chosen).isDir());
    QCOMPARE(preview.desktop.opened.last(), QUrl::fromLocalFile(chosen));
}

QTEST_MAIN(PreviewWindowTest)
#include "PreviewWindowTest.moc"
