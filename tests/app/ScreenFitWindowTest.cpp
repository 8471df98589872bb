// Run on a 1280x800 screen at QT_SCALE_FACTOR=1.5: 853x533 pixels for the window, too low for it.

#include "app/WindowFit.h"
#include "support/MediaFiles.h"
#include "support/WindowFixture.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace talwyn;
using app::WindowFit;

namespace {

const QSize kNatural(803, 541);
const QMargins kFrame(2, 32, 2, 2);
constexpr int kBar = 16;

}  // namespace

class ScreenFitWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void keepsItsSizeCentredWhereItFits();
    void takesWhatRoomThereIsOnALowScreen();
    void neverSmallerThanUsable();
    void scaledLowScreenGetsAScrolledWindow();
    void largerScreenGivesTheFixedSizeBack();
};

void ScreenFitWindowTest::keepsItsSizeCentredWhereItFits() {
    const WindowFit fit = WindowFit::onScreen(kNatural, kFrame, QRect(0, 30, 1920, 1050), kBar);
    QVERIFY(fit.fixed);
    QCOMPARE(fit.size, kNatural);
    QCOMPARE(fit.largest, kNatural);
    QCOMPARE(fit.position, QPoint((1920 - 807) / 2, 30 + (1050 - 575) / 2));
    // Exactly as large as the room.
    const WindowFit tight = WindowFit::onScreen(kNatural, kFrame, QRect(100, 0, 807, 575), kBar);
    QVERIFY(tight.fixed);
    QCOMPARE(tight.size, kNatural);
    QCOMPARE(tight.position, QPoint(100, 0));
}

void ScreenFitWindowTest::takesWhatRoomThereIsOnALowScreen() {
    // 1280x800 at 1.5 with a 32-pixel panel on top: 853x512 of room. Its width takes the
    // vertical scroll bar too.
    const WindowFit low = WindowFit::onScreen(kNatural, kFrame, QRect(0, 21, 853, 512), kBar);
    QVERIFY(!low.fixed);
    QCOMPARE(low.size, QSize(803 + kBar, 512 - 34));
    QCOMPARE(low.largest, QSize(803 + kBar, 541));
    QCOMPARE(low.position, QPoint((853 - 807 - kBar) / 2, 21));
    // One pixel short in width is short too.
    const WindowFit narrow = WindowFit::onScreen(kNatural, kFrame, QRect(0, 0, 806, 900), kBar);
    QVERIFY(!narrow.fixed);
    QCOMPARE(narrow.size, QSize(802, 541 + kBar));
    // Short in both: as much as there is.
    const WindowFit both = WindowFit::onScreen(kNatural, kFrame, QRect(0, 0, 640, 480), kBar);
    QCOMPARE(both.size, QSize(636, 446));
    QCOMPARE(both.largest, QSize(803 + kBar, 541 + kBar));
}

void ScreenFitWindowTest::neverSmallerThanUsable() {
    const WindowFit tiny = WindowFit::onScreen(kNatural, kFrame, QRect(10, 20, 320, 200), kBar);
    QVERIFY(!tiny.fixed);
    QCOMPARE(tiny.size, WindowFit::kSmallest);
    QCOMPARE(tiny.position, QPoint(10, 20));  // the title bar on the screen
}

void ScreenFitWindowTest::scaledLowScreenGetsAScrolledWindow() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const QRect available = window.screen()->availableGeometry();
    QVERIFY2(available.height() < kNatural.height(), "the test needs a screen too low for it");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(available.contains(window.frameGeometry()));
    QVERIFY(window.height() < kNatural.height());
    QCOMPARE(window.maximumSize().height(), kNatural.height());

    const app::MainWindowUi& ui = window.ui();
    QCOMPARE(ui.menuBar->parentWidget(), &window);
    QCOMPARE(ui.menuBar->mapTo(&window, QPoint(0, 0)), QPoint(0, 0));
    auto* scroller = window.findChild<QScrollArea*>(QStringLiteral("Form1Scroller"));
    QVERIFY(scroller);
    QVERIFY(scroller->verticalScrollBar()->maximum() > 0);
    QCOMPARE(scroller->horizontalScrollBar()->maximum(), 0);  // it was given the width for that
    // Every panel keeps its place below the menu bar and can be scrolled to.
    QCOMPARE(ui.jobPanel->geometry(), QRect(8, 87 - 22, 558, 260));
    QCOMPARE(ui.previewPanel->geometry(), QRect(572, 296 - 22, 219, 226));
    scroller->ensureWidgetVisible(ui.previewPanel, 0, 0);
    const QRect shown(ui.previewPanel->mapTo(&window, QPoint(0, 0)), ui.previewPanel->size());
    QVERIFY(window.rect().contains(shown));

    // What was shown or hidden still is, and the list still works.
    QVERIFY(ui.emptyPicture->isVisible());
    QVERIFY(!ui.mmoLog->isVisibleTo(&window));
    window.addFiles({test::MediaFiles::get().tone}, false);
    QCOMPARE(window.jobs().rowCount(), 1);
    QVERIFY(!ui.emptyPicture->isVisible());
    QVERIFY(ui.lvFiles->isVisible());
}

void ScreenFitWindowTest::largerScreenGivesTheFixedSizeBack() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    window.fitToScreen(QRect(0, 0, 1920, 1080));
    QCOMPARE(window.size(), kNatural);
    QCOMPARE(window.minimumSize(), kNatural);
    QCOMPARE(window.maximumSize(), kNatural);
    QCOMPARE(window.pos(), QPoint((1920 - 807) / 2, (1080 - 575) / 2));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* scroller = window.findChild<QScrollArea*>(QStringLiteral("Form1Scroller"));
    QVERIFY(scroller);
    QCOMPARE(scroller->verticalScrollBar()->maximum(), 0);
    QCOMPARE(scroller->horizontalScrollBar()->maximum(), 0);
}

QTEST_MAIN(ScreenFitWindowTest)
#include "ScreenFitWindowTest.moc"
