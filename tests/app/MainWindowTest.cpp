#include "app/AboutWindow.h"
#include "app/CommandTable.h"
#include "app/Glyphs.h"
#include "app/ProductInfo.h"
#include "preview/PreviewScreen.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace talwyn;
using talwyn::app::Glyph;

namespace {

// Menus as "text+" (enabled) or "text-" (disabled), separators as "—", joined by "|".
QStringList menuTexts(QMenuBar* bar) {
    QStringList menus;
    for (QAction* menuAction : bar->actions()) {
        QStringList items{menuAction->text() + ':'};
        for (QAction* item : menuAction->menu()->actions()) {
            items << (item->isSeparator() ? QStringLiteral("—")
                                          : item->text() + (item->isEnabled() ? '+' : '-'));
        }
        menus << items.join('|');
    }
    return menus;
}

// The tool bar's visible buttons, as "caption+" or "caption-".
QStringList toolTexts(QToolBar* bar) {
    QStringList buttons;
    for (QAction* action : bar->actions()) {
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        if (!button || !action->isVisible()) {
            continue;
        }
        buttons << button->text() + (button->isEnabled() ? '+' : '-');
    }
    return buttons;
}

// Pixels of strong colour in what the button paints: a grey glyph has none.
int colouredPixels(QWidget* button) {
    const QImage image = button->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() > 200 && colour.hsvSaturation() > 110 && colour.value() > 90) {
                ++count;
            }
        }
    }
    return count;
}

QRect windowGeometry(QWidget* widget, QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpState();
    void regionsSitWhereTheyBelong();
    void jobListColumns();
    void glyphsFollowTheEnabledState();
    void emptyListPictureFollowsTheRows();
    void pauseAndResumeShareOnePlace();
    void commandTableRunsByName();
    void f1OpensHelpBesideTheExecutable();
    void webSiteAboutAndExit();
};

void MainWindowTest::startUpState() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const app::MainWindowUi& ui = window.ui();

    QCOMPARE(window.windowTitle(), QStringLiteral("TalwynWAV格式转换器"));
    QCOMPARE(window.size(), QSize(803, 541));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

    QCOMPARE(
        menuTexts(ui.menuBar),
        QStringList({
            QStringLiteral("文件:|添加一个文件+|添加多个文件+|添加整个目录+|—|退出+"),
            QStringLiteral(
                "编辑:|上移文件+|下移文件+|—|删除选择-|清空文件-|—|重新命名-|—|应用到全部任务-"),
            QStringLiteral("动作:|开始转换-|停止转换-|—|暂停转换-|继续继续-"),
            QStringLiteral("功能:|转换设置+|软件皮肤+"),
            QStringLiteral("帮助:|帮助系统+|—|官方网站+|关于软件+"),
        }));
    QCOMPARE(ui.helpItem->shortcut(), QKeySequence(Qt::Key_F1));

    QCOMPARE(toolTexts(ui.toolBar),
             QStringList({QStringLiteral("添加+"), QStringLiteral("删除-"), QStringLiteral("清空-"),
                          QStringLiteral("开始-"), QStringLiteral("停止-"), QStringLiteral("暂停-"),
                          QStringLiteral("选项+"), QStringLiteral("皮肤+")}));
    QVERIFY(!ui.resumeButton->isEnabled());
    QVERIFY(!ui.renameButton->isEnabled());
    QVERIFY(ui.moveUpButton->isEnabled() && ui.moveDownButton->isEnabled());
    QStringList dropDown;
    for (QAction* item : ui.addButton->menu()->actions()) {
        dropDown << item->text();
    }
    QCOMPARE(dropDown, QStringList({QStringLiteral("添加一个文件"), QStringLiteral("添加多个文件"),
                                    QStringLiteral("添加整个目录")}));

    QVERIFY(ui.emptyPicture->isVisibleTo(&window));
    QCOMPARE(window.jobSlots().freeCount(), 501);
    QCOMPARE(window.sliderState(), QStringLiteral("UP"));
    QVERIFY(!ui.mmoLog->isVisibleTo(&window));
    QCOMPARE(ui.folderEdit->objectName(), QStringLiteral("Video_OutPut_Folder_Edit"));
    QVERIFY(ui.folderEdit->isReadOnly());
}

void MainWindowTest::regionsSitWhereTheyBelong() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const app::MainWindowUi& ui = window.ui();
    const struct {
        QWidget* widget;
        QRect expected;
    } regions[] = {
        {ui.menuBar, QRect(0, 0, 803, 22)},         {ui.toolBar, QRect(0, 22, 803, 59)},
        {ui.jobPanel, QRect(8, 87, 558, 260)},      {ui.lvFiles, QRect(15, 97, 521, 202)},
        {ui.emptyPicture, QRect(8, 88, 558, 259)},  {ui.outputPanel, QRect(8, 356, 558, 166)},
        {ui.presetPanel, QRect(572, 87, 219, 206)}, {ui.previewPanel, QRect(572, 296, 219, 226)},
        {ui.screen, QRect(581, 323, 200, 124)},
    };
    for (const auto& region : regions) {
        QCOMPARE(windowGeometry(region.widget, &window), region.expected);
    }
    QCOMPARE(ui.slider->width(), 200);
    QCOMPARE(ui.slider->maximum(), 200);
    QStringList hints;
    for (QToolButton* button :
         {ui.moveDownButton, ui.moveUpButton, ui.renameButton, ui.playButton, ui.pausePreviewButton,
          ui.stopPreviewButton, ui.muteButton, ui.snapshotButton, ui.snapshotSettingsButton}) {
        hints << button->toolTip();
    }
    QCOMPARE(hints.join(' '), QStringLiteral("下移 上移 重命名 播放 暂停 停止 静音 快照 设置"));
    // The mute twin waits hidden in the same place.
    QCOMPARE(ui.unmuteButton->geometry(), ui.muteButton->geometry());
    QVERIFY(!ui.unmuteButton->isVisibleTo(&window));
}

void MainWindowTest::jobListColumns() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    QTableView* list = window.ui().lvFiles;
    QCOMPARE(list->model()->columnCount(), 25);
    const QList<int> shownWidths = {80, 70, 70, 80, 70, 0, 80, 80};
    for (int column = 0; column < 25; ++column) {
        const int width = column < shownWidths.size() ? shownWidths[column] : 0;
        QCOMPARE(list->isColumnHidden(column), width == 0);
        if (width > 0) {
            QCOMPARE(list->columnWidth(column), width);
        }
    }
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(list->showGrid());
    QCOMPARE(list->font().pixelSize(), 14);
    QCOMPARE(list->font().family(), QStringLiteral("Arial"));
}

void MainWindowTest::glyphsFollowTheEnabledState() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const app::MainWindowUi& ui = window.ui();
    const struct {
        QToolButton* button;
        Glyph glyph;
        int size;
    } buttons[] = {
        {ui.removeButton, Glyph::Remove, 32}, {ui.clearButton, Glyph::Clear, 32},
        {ui.startButton, Glyph::Start, 32},   {ui.stopButton, Glyph::Stop, 32},
        {ui.pauseButton, Glyph::Pause, 32},   {ui.resumeButton, Glyph::Resume, 32},
        {ui.renameButton, Glyph::Rename, 18},
    };
    for (const auto& b : buttons) {
        const QIcon icon = b.button->icon();
        QCOMPARE(icon.pixmap(b.size, QIcon::Normal).toImage(),
                 app::Glyphs::coloured(b.glyph, b.size).toImage());
        QCOMPARE(icon.pixmap(b.size, QIcon::Disabled).toImage(),
                 app::Glyphs::grey(b.glyph, b.size).toImage());
        QCOMPARE(colouredPixels(b.button), 0);  // disabled at start: painted grey
    }

    window.jobs().appendRow({});  // a row in the list
    window.applyBatchState();
    for (QToolButton* button : {ui.removeButton, ui.clearButton, ui.startButton, ui.renameButton}) {
        QVERIFY2(
            colouredPixels(button) > 5,
            qPrintable(
                QStringLiteral("%1: %2").arg(button->objectName()).arg(colouredPixels(button))));
    }
    for (QAction* item : {ui.removeItem, ui.clearItem, ui.startItem, ui.renameItem}) {
        QVERIFY(item->isEnabled());
    }
    QVERIFY(!ui.stopButton->isEnabled());
    window.jobs().clear();
    window.applyBatchState();
    QCOMPARE(colouredPixels(ui.startButton), 0);
    QVERIFY(!ui.startItem->isEnabled());
}

void MainWindowTest::emptyListPictureFollowsTheRows() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    QLabel* picture = window.ui().emptyPicture;
    QVERIFY(!picture->pixmap().isNull());

    window.jobs().appendRow({});
    QVERIFY(!picture->isVisibleTo(&window));
    window.jobs().appendRow({});
    window.jobs().removeJob(0);
    QVERIFY(!picture->isVisibleTo(&window));
    window.jobs().removeJob(0);
    QVERIFY(picture->isVisibleTo(&window));
    window.jobs().appendRow({});
    window.jobs().clear();
    QVERIFY(picture->isVisibleTo(&window));
}

void MainWindowTest::pauseAndResumeShareOnePlace() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    window.show();
    const app::MainWindowUi& ui = window.ui();
    QTRY_VERIFY(ui.pauseButton->isVisible());
    const QPoint place = ui.pauseButton->pos();
    QVERIFY(!ui.resumeButton->isVisible());

    // Pause and resume without a batch change nothing (the batch's own test switches them).
    window.btnPauseClick();
    QVERIFY(ui.pauseButton->isVisible());
    QVERIFY(!ui.resumeButton->isVisible());
    QCOMPARE(ui.pauseButton->pos(), place);
}

void MainWindowTest::commandTableRunsByName() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    QSet<QString> names;
    for (const app::Command& command : app::kMainCommands) {
        names.insert(QString::fromLatin1(command.name));
        const QByteArray signature = QByteArray(command.name) + "()";
        QVERIFY2(window.metaObject()->indexOfSlot(signature.constData()) >= 0, command.name);
        QVERIFY(!QString::fromUtf8(command.caption).isEmpty());
    }
    QCOMPARE(names.size(), 27);

    window.ui().lvFiles->clearFocus();
    QVERIFY(window.runCommand("OpenOutputFolder"));
    QCOMPARE(fixture.desktop.opened.size(), 1);
    QCOMPARE(fixture.desktop.opened[0], QUrl::fromLocalFile(window.fields().FileOutPutPath));
    QVERIFY(window.runCommand("InitValues"));
    QVERIFY(!window.runCommand("NoSuchCommand"));
    QVERIFY(!window.runCommand("ShowHelp"));  // a slot, but not a command of the table
}

void MainWindowTest::f1OpensHelpBesideTheExecutable() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());

    window.ui().lvFiles->setFocus();
    QTest::keyClick(window.ui().lvFiles, Qt::Key_F1);
    QTest::keyClick(window.ui().browseButton, Qt::Key_F1);
    QDir::setCurrent(before);

    const QUrl help = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/help.html");
    QCOMPARE(fixture.desktop.opened, QList<QUrl>({help, help}));
}

void MainWindowTest::webSiteAboutAndExit() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const app::MainWindowUi& ui = window.ui();

    ui.webSiteItem->trigger();
    emit ui.siteLink->linkActivated(app::kWebSite);
    QCOMPARE(fixture.desktop.opened, QList<QUrl>({QUrl(app::kWebSite), QUrl(app::kWebSite)}));

    ui.aboutItem->trigger();
    QCOMPARE(fixture.dialogs.modalShown, QStringList({QStringLiteral("Form2")}));
    app::AboutWindow& about = window.about();
    QCOMPARE(about.windowTitle(), QStringLiteral("关于软件"));
    QCOMPARE(about.size(), QSize(332, 259));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    const QString all = texts.join('\n');
    QVERIFY(all.contains(QStringLiteral("TalwynWAV格式转换器")));
    QVERIFY(all.contains(QStringLiteral("Ver:1.0.0.0")));
    QVERIFY(all.contains(QStringLiteral("官方网站：")));
    QVERIFY(all.contains(QStringLiteral("支持E-Mail：")));
    fixture.desktop.opened.clear();
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("mailto:"))) {
            emit label->linkActivated(QStringLiteral("mailto:") + app::kSupportMail);
        }
    }
    QCOMPARE(fixture.desktop.opened,
             QList<QUrl>({QUrl(QStringLiteral("mailto:") + app::kSupportMail)}));
    auto* ok = about.findChild<QPushButton*>();
    QCOMPARE(ok->text(), QStringLiteral("确定"));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ui.exitItem->trigger();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
