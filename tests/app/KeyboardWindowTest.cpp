#include "app/OfficeComboBox.h"
#include "support/MediaFiles.h"
#include "support/WindowFlow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace talwyn;
using namespace talwyn::joblist;
using app::MainWindow;
using test::MediaFiles;

namespace {

using Flow = test::WindowFlow;

// A shown, active window holding a.wav, b.wav and c.wav, the middle row selected and the
// focus in the list.
MainWindow& startWithThreeRows(Flow& flow) {
    MainWindow& window = flow.startWith();
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        qWarning("the window did not become active");
    }
    const QString tone = MediaFiles::get().tone;
    window.addFiles({flow.copy(tone, "a.wav"), flow.copy(tone, "b.wav"), flow.copy(tone, "c.wav")},
                    false);
    window.ui().lvFiles->selectionModel()->setCurrentIndex(
        window.jobs().index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.ui().lvFiles->setFocus();
    return window;
}

// The key as the user presses it, to whatever has the focus: a modifier is held down first, as
// the platform reports it, and let go last.
void press(MainWindow& window, QKeyCombination key) {
    const auto target = [&window] {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : static_cast<QWidget*>(&window);
    };
    const Qt::KeyboardModifiers held = key.keyboardModifiers();
    const Qt::Key modifierKey = held & Qt::ControlModifier ? Qt::Key_Control : Qt::Key_Shift;
    if (held != Qt::NoModifier) {
        QTest::keyPress(target(), modifierKey, held);
    }
    QTest::keyClick(target(), key.key(), held);
    if (held != Qt::NoModifier) {
        QTest::keyRelease(target(), modifierKey, Qt::NoModifier);
    }
}

}  // namespace

class KeyboardWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void menusShowTheKeys();
    void eachKeyDoesItsCommand_data();
    void eachKeyDoesItsCommand();
    void keysOfDisabledCommandsDoNothing();
    void deleteInTheRenameBoxEditsTheName();
    void tabWalksThePanelsInOrder();
};

void KeyboardWindowTest::menusShowTheKeys() {
    Flow flow;
    MainWindow& window = flow.startWith();
    QStringList shown;
    for (QAction* menu : window.ui().menuBar->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (!item->shortcut().isEmpty()) {
                shown << item->text() + '=' + item->shortcut().toString(QKeySequence::PortableText);
            }
        }
    }
    QCOMPARE(shown, QStringList({"添加一个文件=Ctrl+O", "添加多个文件=Ctrl+Shift+O",
                                 "上移文件=Ctrl+Up", "下移文件=Ctrl+Down", "删除选择=Del",
                                 "重新命名=F2", "开始转换=Ctrl+Return", "帮助系统=F1"}));
}

void KeyboardWindowTest::eachKeyDoesItsCommand_data() {
    QTest::addColumn<int>("combined");      // QKeyCombination::toCombined()
    QTest::addColumn<QStringList>("rows");  // the list afterwards
    QTest::addColumn<int>("selected");      // the selected row afterwards
    const QStringList abc{"a.wav", "b.wav", "c.wav"};
    QTest::newRow("Delete removes")
        << QKeyCombination(Qt::Key_Delete).toCombined() << QStringList{"a.wav", "c.wav"} << 0;
    QTest::newRow("Ctrl+O adds one file") << QKeyCombination(Qt::CTRL | Qt::Key_O).toCombined()
                                          << QStringList{"a.wav", "b.wav", "c.wav", "d.wav"} << 3;
    QTest::newRow("Ctrl+Shift+O adds several")
        << QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_O).toCombined()
        << QStringList{"a.wav", "b.wav", "c.wav", "f.wav", "e.wav"} << 4;
    QTest::newRow("F2 renames") << QKeyCombination(Qt::Key_F2).toCombined() << abc << 1;
    QTest::newRow("Ctrl+Up moves up") << QKeyCombination(Qt::CTRL | Qt::Key_Up).toCombined()
                                      << QStringList{"b.wav", "a.wav", "c.wav"} << 0;
    QTest::newRow("Ctrl+Down moves down") << QKeyCombination(Qt::CTRL | Qt::Key_Down).toCombined()
                                          << QStringList{"a.wav", "c.wav", "b.wav"} << 2;
    QTest::newRow("Ctrl+Return starts")
        << QKeyCombination(Qt::CTRL | Qt::Key_Return).toCombined() << abc << 1;
    QTest::newRow("Ctrl+Enter starts")
        << QKeyCombination(Qt::CTRL | Qt::Key_Enter).toCombined() << abc << 1;
    QTest::newRow("Up still selects") << QKeyCombination(Qt::Key_Up).toCombined() << abc << 0;
    QTest::newRow("Down still selects") << QKeyCombination(Qt::Key_Down).toCombined() << abc << 2;
    QTest::newRow("F1 still helps") << QKeyCombination(Qt::Key_F1).toCombined() << abc << 1;
}

void KeyboardWindowTest::eachKeyDoesItsCommand() {
    QFETCH(int, combined);
    const QKeyCombination key = QKeyCombination::fromCombined(combined);
    QFETCH(QStringList, rows);
    QFETCH(int, selected);
    Flow flow;
    MainWindow& window = startWithThreeRows(flow);
    QVERIFY(QApplication::activeWindow() == &window);
    const QString tone = MediaFiles::get().tone;
    flow.dialogs.fileAnswer = flow.copy(tone, "d.wav");
    flow.dialogs.filesAnswer = QStringList{flow.copy(tone, "e.wav"), flow.copy(tone, "f.wav")};

    press(window, key);

    QCOMPARE(test::inputNames(window), rows);
    QCOMPARE(window.selectedRows(), QList<int>{selected});
    const bool renames = key == QKeyCombination(Qt::Key_F2);
    QCOMPARE(window.ui().edt->isVisible(), renames);
    if (renames) {
        QCOMPARE(window.ui().edt->text(), QStringLiteral("b"));
    }
    // A started batch converts every row; nothing else fills the progress column.
    const bool starts = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    QVERIFY(test::waitForBatchEnd(window));
    QCOMPARE(test::column(window, Progress).join(' ').trimmed(),
             starts ? QStringLiteral("100% 100% 100%") : QString());
    const bool helps = key == QKeyCombination(Qt::Key_F1);
    QCOMPARE(flow.desktop.opened.size(), helps ? 1 : 0);
    QVERIFY(flow.dialogs.informations.isEmpty());
}

void KeyboardWindowTest::keysOfDisabledCommandsDoNothing() {
    Flow flow;
    MainWindow& window = flow.startWith();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.ui().lvFiles->setFocus();
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Delete), QKeyCombination(Qt::Key_F2),
          QKeyCombination(Qt::CTRL | Qt::Key_Return), QKeyCombination(Qt::CTRL | Qt::Key_Up)}) {
        press(window, key);
    }
    QCOMPARE(window.jobs().rowCount(), 0);
    QVERIFY(!window.batchRunning());
    QVERIFY(!window.ui().edt->isVisible());
    // The menu commands' boxes ("select a row first") are for clicks, not for stray keys.
    QVERIFY(flow.dialogs.informations.isEmpty());
}

void KeyboardWindowTest::deleteInTheRenameBoxEditsTheName() {
    Flow flow;
    MainWindow& window = startWithThreeRows(flow);
    press(window, Qt::Key_F2);
    QLineEdit* edit = window.ui().edt;
    QVERIFY(edit->hasFocus());
    edit->setCursorPosition(0);
    press(window, Qt::Key_Delete);
    QCOMPARE(window.jobs().rowCount(), 3);
    QCOMPARE(edit->text(), QString());  // "b" was all there was
    edit->setText(QStringLiteral("bee"));
    press(window, Qt::Key_Return);
    QCOMPARE(window.jobs().text(1, OutputFile), QStringLiteral("bee.wav"));
}

void KeyboardWindowTest::tabWalksThePanelsInOrder() {
    Flow flow;
    MainWindow& window = startWithThreeRows(flow);
    const app::MainWindowUi& ui = window.ui();
    QList<QWidget*> expected{ui.lvFiles,     ui.moveDownButton, ui.moveUpButton, ui.renameButton,
                             ui.categoryBox, ui.profileBox,     ui.browseButton, ui.openButton};
    for (QWidget* box : ui.presetBoxes) {
        if (box->isEnabled()) {
            expected << box;
        }
    }
    expected << ui.slider << ui.playButton << ui.pausePreviewButton << ui.stopPreviewButton
             << ui.muteButton << ui.snapshotButton << ui.snapshotSettingsButton << ui.lvFiles;

    QStringList walked{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        press(window, Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QStringList wanted;
    for (QWidget* widget : expected) {
        wanted << widget->objectName();
    }
    QCOMPARE(walked, wanted);

    // Back again with Shift+Tab.
    press(window, Qt::SHIFT | Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ui.snapshotSettingsButton);
}

QTEST_MAIN(KeyboardWindowTest)
#include "KeyboardWindowTest.moc"
