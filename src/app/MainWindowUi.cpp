#include "app/MainWindowUi.h"

#include "app/Glyphs.h"
#include "app/OfficeComboBox.h"
#include "app/PresetComboBox.h"
#include "app/ProductInfo.h"
#include "joblist/JobColumns.h"
#include "preview/PreviewScreen.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QComboBox>
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
#include <QToolBar>
#include <QToolButton>

namespace talwyn::app {
namespace {

constexpr int kToolGlyph = 32;
constexpr int kSmallGlyph = 18;

QFrame* addPanel(QWidget* parent, const char* name, QRect geometry, const QString& caption = {}) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setProperty("skinPanel", true);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(geometry);
    if (!caption.isEmpty()) {
        auto* title = new QLabel(caption, panel);
        title->setProperty("skinCaption", true);
        title->setGeometry(1, 1, geometry.width() - 2, 20);
    }
    return panel;
}

QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    if (name) {
        label->setObjectName(QLatin1String(name));
    }
    return label;
}

QToolButton* addToolButton(QToolBar* bar, const char* name, const QString& caption, Glyph glyph) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(Glyphs::icon(glyph, kToolGlyph));
    button->setIconSize(QSize(kToolGlyph, kToolGlyph));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(64, 55);
    bar->addWidget(button);
    return button;
}

QToolButton* addSmallButton(QWidget* parent, const char* name, const QString& hint, Glyph glyph,
                            QRect geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(Glyphs::icon(glyph, kSmallGlyph));
    button->setIconSize(QSize(kSmallGlyph, kSmallGlyph));
    button->setGeometry(geometry);
    return button;
}

QAction* addItem(QMenu* menu, const QString& text, bool enabled = true) {
    QAction* item = menu->addAction(text);
    item->setEnabled(enabled);
    return item;
}

}  // namespace

void MainWindowUi::setup(QWidget* window) {
    // Menus.
    menuBar = new QMenuBar(window);
    menuBar->setNativeMenuBar(false);
    menuBar->setGeometry(0, 0, kWidth, 22);
    menuBar->setFixedHeight(22);
    QMenu* fileMenu = menuBar->addMenu(QStringLiteral("文件"));
    addFileItem = addItem(fileMenu, QStringLiteral("添加一个文件"));
    addFilesItem = addItem(fileMenu, QStringLiteral("添加多个文件"));
    addFolderItem = addItem(fileMenu, QStringLiteral("添加整个目录"));
    fileMenu->addSeparator();
    exitItem = addItem(fileMenu, QStringLiteral("退出"));
    QMenu* editMenu = menuBar->addMenu(QStringLiteral("编辑"));
    moveUpItem = addItem(editMenu, QStringLiteral("上移文件"));
    moveDownItem = addItem(editMenu, QStringLiteral("下移文件"));
    editMenu->addSeparator();
    removeItem = addItem(editMenu, QStringLiteral("删除选择"), false);
    clearItem = addItem(editMenu, QStringLiteral("清空文件"), false);
    editMenu->addSeparator();
    renameItem = addItem(editMenu, QStringLiteral("重新命名"), false);
    editMenu->addSeparator();
    applyToAllItem = addItem(editMenu, QStringLiteral("应用到全部任务"), false);
    QMenu* actionMenu = menuBar->addMenu(QStringLiteral("动作"));
    startItem = addItem(actionMenu, QStringLiteral("开始转换"), false);
    stopItem = addItem(actionMenu, QStringLiteral("停止转换"), false);
    actionMenu->addSeparator();
    pauseItem = addItem(actionMenu, QStringLiteral("暂停转换"), false);
    resumeItem = addItem(actionMenu, QStringLiteral("继续继续"), false);
    QMenu* functionMenu = menuBar->addMenu(QStringLiteral("功能"));
    optionsItem = addItem(functionMenu, QStringLiteral("转换设置"));
    skinItem = addItem(functionMenu, QStringLiteral("软件皮肤"));
    QMenu* helpMenu = menuBar->addMenu(QStringLiteral("帮助"));
    helpItem = addItem(helpMenu, QStringLiteral("帮助系统"));
    helpMenu->addSeparator();
    webSiteItem = addItem(helpMenu, QStringLiteral("官方网站"));
    aboutItem = addItem(helpMenu, QStringLiteral("关于软件"));

    // Tool bar.
    toolBar = new QToolBar(window);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setGeometry(0, 22, kWidth, 59);
    toolBar->setMovable(false);
    addButton = addToolButton(toolBar, "btnAdd", QStringLiteral("添加"), Glyph::Add);
    auto* addMenu = new QMenu(addButton);
    addMenu->addAction(addFileItem);
    addMenu->addAction(addFilesItem);
    addMenu->addAction(addFolderItem);
    addButton->setMenu(addMenu);
    addButton->setPopupMode(QToolButton::InstantPopup);
    removeButton = addToolButton(toolBar, "btnRemove", QStringLiteral("删除"), Glyph::Remove);
    clearButton = addToolButton(toolBar, "btnClear", QStringLiteral("清空"), Glyph::Clear);
    toolBar->addSeparator();
    startButton = addToolButton(toolBar, "btnStart", QStringLiteral("开始"), Glyph::Start);
    stopButton = addToolButton(toolBar, "btnStop", QStringLiteral("停止"), Glyph::Stop);
    pauseButton = addToolButton(toolBar, "btnPause", QStringLiteral("暂停"), Glyph::Pause);
    pauseSpot = toolBar->actions().constLast();
    resumeButton = addToolButton(toolBar, "btnResume", QStringLiteral("继续"), Glyph::Resume);
    resumeSpot = toolBar->actions().constLast();
    resumeSpot->setVisible(false);
    toolBar->addSeparator();
    optionsButton = addToolButton(toolBar, "btnOptions", QStringLiteral("选项"), Glyph::Options);
    skinButton = addToolButton(toolBar, "btnSkin", QStringLiteral("皮肤"), Glyph::Skin);
    for (QToolButton* button :
         {removeButton, clearButton, startButton, stopButton, pauseButton, resumeButton}) {
        button->setEnabled(false);
    }

    // Job list.
    jobPanel = addPanel(window, "JobPanel", QRect(8, 87, 558, 260));
    lvFiles = new QTableView(jobPanel);
    lvFiles->setObjectName(QStringLiteral("lvFiles"));
    lvFiles->setGeometry(7, 10, 521, 202);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(14);
    lvFiles->setFont(listFont);
    lvFiles->setShowGrid(true);
    lvFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFiles->setWordWrap(false);
    lvFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lvFiles->verticalHeader()->hide();
    lvFiles->verticalHeader()->setDefaultSectionSize(20);
    lvFiles->horizontalHeader()->setHighlightSections(false);
    lvFiles->horizontalHeader()->setSectionsMovable(false);
    lvFiles->horizontalHeader()->setStretchLastSection(false);
    listScroll = new QScrollBar(Qt::Horizontal, jobPanel);
    listScroll->setObjectName(QStringLiteral("ListScrollBar"));
    listScroll->setGeometry(7, 213, 521, 16);
    moveDownButton = addSmallButton(jobPanel, "btnMoveDown", QStringLiteral("下移"),
                                    Glyph::MoveDown, QRect(444, 232, 26, 24));
    moveUpButton = addSmallButton(jobPanel, "btnMoveUp", QStringLiteral("上移"), Glyph::MoveUp,
                                  QRect(473, 232, 26, 24));
    renameButton = addSmallButton(jobPanel, "btnRename", QStringLiteral("重命名"), Glyph::Rename,
                                  QRect(502, 232, 26, 24));
    renameButton->setEnabled(false);

    edt = new QLineEdit(lvFiles->viewport());
    edt->setObjectName(QStringLiteral("edt"));
    edt->setFrame(false);
    edt->hide();

    emptyPicture = addLabel(window, {}, QRect(8, 88, 558, 259), "EmptyListPicture");
    emptyPicture->setPixmap(Glyphs::emptyListPicture(QSize(558, 259)));
    // A picture says nothing to a screen reader.
    emptyPicture->setAccessibleName(Glyphs::emptyListTexts().join(QLatin1Char('\n')));

    // Output format and folder.
    outputPanel = addPanel(window, "OutputPanel", QRect(8, 356, 558, 166));
    addLabel(outputPanel, QStringLiteral("输出格式："), QRect(10, 24, 70, 20));
    categoryBox = new OfficeComboBox(50, 4, false, outputPanel);
    categoryBox->setObjectName(QStringLiteral("bsSkinOfficeComboBox2"));
    categoryBox->setGeometry(80, 8, 140, 50);
    profileBox = new OfficeComboBox(60, 4, true, outputPanel);
    profileBox->setObjectName(QStringLiteral("bsSkinOfficeComboBox1"));
    profileBox->setGeometry(228, 8, 320, 50);
    addLabel(outputPanel, QStringLiteral("输出目录："), QRect(10, 76, 70, 20));
    folderEdit = new QLineEdit(outputPanel);
    folderEdit->setObjectName(QStringLiteral("Video_OutPut_Folder_Edit"));
    folderEdit->setReadOnly(true);
    folderEdit->setGeometry(80, 72, 300, 26);
    browseButton = new QPushButton(QStringLiteral("浏览"), outputPanel);
    browseButton->setObjectName(QStringLiteral("btnBrowse"));
    browseButton->setGeometry(388, 71, 76, 28);
    openButton = new QPushButton(QStringLiteral("打开"), outputPanel);
    openButton->setObjectName(QStringLiteral("btnOpen"));
    openButton->setGeometry(472, 71, 76, 28);
    addLabel(outputPanel, QStringLiteral("软件网站："), QRect(10, 122, 70, 20));
    siteLink = addLabel(outputPanel, QStringLiteral("<a href=\"%1\">%1</a>").arg(kWebSite),
                        QRect(80, 122, 300, 20), "SiteLink");
    siteLink->setTextFormat(Qt::RichText);

    // Presets: the frame size across the first row, then video bit rate and frame rate, audio
    // bit rate and sample rate side by side, and the aspect mode across the last row; each list
    // under its label.
    presetPanel =
        addPanel(window, "bsSkinPanel4", QRect(572, 87, 219, 206), QStringLiteral("预置选项"));
    struct PresetPlace {
        const char* label;
        const char* labelName;
        const char* boxName;
        int row;
        int column;  // -1: the whole row
    };
    const std::array<PresetPlace, 6> places{{
        {"视频分辨率：", "bsSkinTextLabel3", "bsSkinComboBox1", 0, -1},
        {"视频比特率：", "bsSkinTextLabel2", "bsSkinComboBox2", 1, 0},
        {"视频帧率：", "bsSkinTextLabel6", "bsSkinComboBox9", 1, 1},
        {"音频比特率：", "bsSkinTextLabel4", "bsSkinComboBox3", 2, 0},
        {"音频采样率：", "bsSkinTextLabel7", "bsSkinComboBox10", 2, 1},
        {"视频缩放：", "bsSkinTextLabel9", "bsSkinComboBox4", 3, -1},
    }};
    constexpr int kMargin = 8;
    constexpr int kGap = 6;
    constexpr int kHalf = (219 - 2 * kMargin - kGap) / 2;
    for (int i = 0; i < 6; ++i) {
        const PresetPlace& place = places[i];
        const int top = 24 + place.row * 45;
        const int left = place.column == 1 ? kMargin + kHalf + kGap : kMargin;
        const int width = place.column < 0 ? 219 - 2 * kMargin : kHalf;
        addLabel(presetPanel, QString::fromUtf8(place.label), QRect(left, top, width, 17),
                 place.labelName);
        presetBoxes[i] = new PresetComboBox(presetPanel);
        presetBoxes[i]->setObjectName(QLatin1String(place.boxName));
        presetBoxes[i]->setGeometry(left, top + 17, width, 24);
    }

    // Preview.
    previewPanel =
        addPanel(window, "PreviewPanel", QRect(572, 296, 219, 226), QStringLiteral("视频预览"));
    screen = new preview::PreviewScreen(previewPanel);
    screen->setObjectName(QStringLiteral("Panel6"));
    screen->setGeometry(9, 27, 200, 124);
    slider = new QSlider(Qt::Horizontal, previewPanel);
    slider->setObjectName(QStringLiteral("bsSkinSlider1"));
    slider->setGeometry(9, 155, 200, 18);
    slider->setRange(0, 200);
    const int buttonTop = 182;
    const auto place = [](int column) { return QRect(10 + column * 34, buttonTop, 28, 28); };
    playButton =
        addSmallButton(previewPanel, "btnPlay", QStringLiteral("播放"), Glyph::Play, place(0));
    pausePreviewButton = addSmallButton(previewPanel, "btnPreviewPause", QStringLiteral("暂停"),
                                        Glyph::Pause, place(1));
    stopPreviewButton = addSmallButton(previewPanel, "btnPreviewStop", QStringLiteral("停止"),
                                       Glyph::Stop, place(2));
    muteButton =
        addSmallButton(previewPanel, "btnMute", QStringLiteral("静音"), Glyph::Mute, place(3));
    unmuteButton =
        addSmallButton(previewPanel, "btnUnmute", QStringLiteral("静音"), Glyph::Unmute, place(3));
    unmuteButton->hide();
    snapshotButton = addSmallButton(previewPanel, "btnSnapshot", QStringLiteral("快照"),
                                    Glyph::Snapshot, place(4));
    snapshotSettingsButton = addSmallButton(previewPanel, "btnSnapshotSettings",
                                            QStringLiteral("设置"), Glyph::Settings, place(5));
    snapshotMenu = new QMenu(window);
    openSnapshotFolderItem = snapshotMenu->addAction(QStringLiteral("打开快照目录"));
    chooseSnapshotFolderItem = snapshotMenu->addAction(QStringLiteral("设置快照目录"));
    snapshotMenu->addSeparator();
    QMenu* types = snapshotMenu->addMenu(QStringLiteral("快照保存类型"));
    auto* typeGroup = new QActionGroup(types);
    const char* typeNames[] = {"BMP文件", "JPG文件", "GIF文件", "PNG文件"};
    for (int i = 0; i < 4; ++i) {
        snapshotTypeItems[i] = types->addAction(QString::fromUtf8(typeNames[i]));
        snapshotTypeItems[i]->setCheckable(true);
        typeGroup->addAction(snapshotTypeItems[i]);
    }
    snapshotTypeItems[0]->setChecked(true);

    // The diagnostic log is kept but never shown.
    mmoLog = new QPlainTextEdit(window);
    mmoLog->setObjectName(QStringLiteral("mmoLog"));
    mmoLog->setReadOnly(true);
    mmoLog->hide();

    emptyPicture->raise();
    setUpKeyboard(window);
}

void MainWindowUi::setUpKeyboard(QWidget* window) {
    const struct {
        QAction* item;
        QList<QKeySequence> keys;
    } shortcuts[] = {
        {helpItem, {Qt::Key_F1}},
        {addFileItem, {Qt::CTRL | Qt::Key_O}},
        {addFilesItem, {Qt::CTRL | Qt::SHIFT | Qt::Key_O}},
        {removeItem, {Qt::Key_Delete}},
        {renameItem, {Qt::Key_F2}},
        {moveUpItem, {Qt::CTRL | Qt::Key_Up}},
        {moveDownItem, {Qt::CTRL | Qt::Key_Down}},
        {startItem, {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}},
    };
    for (const auto& shortcut : shortcuts) {
        shortcut.item->setShortcuts(shortcut.keys);
        shortcut.item->setShortcutContext(Qt::WindowShortcut);
        // The keys work wherever the focus is in the window, not only through the menu bar.
        window->addAction(shortcut.item);
    }

    // The tool bar's commands are all in the menus, with their keys; clicking a tool button
    // leaves the focus where it was, as in the list.
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        button->setFocusPolicy(Qt::NoFocus);
    }
    // Tab leaves the list instead of walking its cells.
    lvFiles->setTabKeyNavigation(false);
    listScroll->setFocusPolicy(Qt::NoFocus);
    // The read-only box hands a click's focus on to the list; Tab passes it by.
    folderEdit->setFocusPolicy(Qt::ClickFocus);

    // Panel by panel, left to right and top to bottom.
    QList<QWidget*> chain{lvFiles,     moveDownButton, moveUpButton, renameButton,
                          categoryBox, profileBox,     browseButton, openButton};
    for (PresetComboBox* box : presetBoxes) {
        chain << box;
    }
    chain << slider << playButton << pausePreviewButton << stopPreviewButton << muteButton
          << unmuteButton << snapshotButton << snapshotSettingsButton;
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    }
}

}  // namespace talwyn::app
