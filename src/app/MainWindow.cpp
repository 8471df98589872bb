#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/AppPaths.h"
#include "app/CommandTable.h"
#include "app/Desktop.h"
#include "app/Dialogs.h"
#include "app/FittedTextDelegate.h"
#include "app/Glyphs.h"
#include "app/OfficeComboBox.h"
#include "app/ProductInfo.h"
#include "app/ProgressDelegate.h"
#include "conversion/Batch.h"
#include "media/Converter.h"
#include "media/Player.h"
#include "preview/PreviewBridge.h"
#include "preview/Snapshots.h"
#include "settings/OptionsDialog.h"
#include "settings/SkinCatalog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace talwyn::app {
namespace {

const QString kOutPathSection = QStringLiteral("OutPath");
const QString kOutPathKey = QStringLiteral("OutPath");
const QString kSkinSection = QStringLiteral("Skin");
const QString kSkinKey = QStringLiteral("SetSkin");

}  // namespace

MainWindow::MainWindow(Services services, QWidget* parent)
    : QWidget(parent),
      dialogs_(services.dialogs),
      desktop_(services.desktop),
      ini_(services.optionIniPath) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProductName);
    setWindowIcon(Glyphs::applicationIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    ui_.setup(this);
    if (const QScreen* desk = screen()) {
        fitToScreen(desk->availableGeometry());
    } else {
        setFixedSize(MainWindowUi::kWidth, MainWindowUi::kHeight);
    }
    ini_.setLogger([this](const QString& line) { appendLog(line); });
    ini_.setFailureReporter([this](const QString& reason) {
        dialogs_.notice(
            this,
            QStringLiteral("无法保存设置文件 %1（%2）。\n本次修改的设置只在程序运行期间有效。")
                .arg(ini_.path(), reason));
    });
    converter_ = std::make_unique<media::Converter>();
    batch_ = new conversion::Batch(*converter_, this);
    connect(batch_, &conversion::Batch::progress, this, &MainWindow::onProgress);
    connect(batch_, &conversion::Batch::taskEnded, this, &MainWindow::onTaskEnded);
    connect(batch_, &conversion::Batch::ended, this, &MainWindow::onBatchEnded);
    connect(batch_, &conversion::Batch::stateChanged, this, &MainWindow::applyBatchState);
    connect(batch_, &conversion::Batch::previewPicture, this, &MainWindow::onPreviewPicture);
    connect(batch_, &conversion::Batch::logLine, this, &MainWindow::appendLog);
    wireJobList();
    wirePreview();
    wireCatalogue();
    wireCommands();
    applySkin(settings::SkinCatalog::kStartSkin);

    InitValues();
    ReadMainSettings();
    PrepareOpenDialog();
    ReadSkinSettings();
    FillProfileList();
    bsSkinSlider1_down_UP = QStringLiteral("UP");

    about_ = new AboutWindow(desktop_, this);
    options_ = new settings::OptionsDialog(
        ini_, [this](bool on) { SetPreview(on); }, this);
}

MainWindow::~MainWindow() {
    // Hidden while whole: hiding the children later, in QWidget's destructor, would call this
    // window's handlers on what is left of it.
    hide();
    // The bridges are children and would outlive the engines they listen to.
    delete batch_;
    batch_ = nullptr;
    converter_.reset();
    delete previewBridge_;
    previewBridge_ = nullptr;
    player_.reset();
}

void MainWindow::wireJobList() {
    ui_.lvFiles->setModel(&jobs_);
    for (int column = 0; column < joblist::kJobColumnCount; ++column) {
        const int width = joblist::kJobColumns[column].width;
        ui_.lvFiles->setColumnWidth(column, width);
        ui_.lvFiles->setColumnHidden(column, width == 0);
    }
    // The list's own scroll bar is replaced by the one below it.
    QScrollBar* own = ui_.lvFiles->horizontalScrollBar();
    connect(own, &QScrollBar::rangeChanged, ui_.listScroll, [this, own](int low, int high) {
        ui_.listScroll->setRange(low, high);
        ui_.listScroll->setPageStep(own->pageStep());
    });
    connect(own, &QScrollBar::valueChanged, ui_.listScroll, &QScrollBar::setValue);
    connect(ui_.listScroll, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
    ui_.listScroll->setRange(own->minimum(), own->maximum());
    ui_.listScroll->setPageStep(own->pageStep());

    ui_.lvFiles->setItemDelegateForColumn(joblist::Progress, new ProgressDelegate(ui_.lvFiles));
    for (const joblist::JobColumn sizes : {joblist::InputSize, joblist::OutputSize}) {
        ui_.lvFiles->setItemDelegateForColumn(sizes, new FittedTextDelegate(ui_.lvFiles));
    }
    connect(ui_.lvFiles->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::onSelectionChanged);
    connect(ui_.lvFiles, &QAbstractItemView::doubleClicked, this, &MainWindow::StartRename);
    ui_.edt->installEventFilter(this);
    for (QWidget* target : {static_cast<QWidget*>(ui_.lvFiles->viewport()),
                            static_cast<QWidget*>(ui_.emptyPicture)}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    connect(&jobs_, &QAbstractItemModel::rowsInserted, this, &MainWindow::updateEmptyPicture);
    connect(&jobs_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateEmptyPicture);
    connect(&jobs_, &QAbstractItemModel::modelReset, this, &MainWindow::updateEmptyPicture);
    ui_.folderEdit->installEventFilter(this);
}

void MainWindow::wireCommands() {
    connect(ui_.addFileItem, &QAction::triggered, this, &MainWindow::btnAddClick);
    connect(ui_.addFilesItem, &QAction::triggered, this, &MainWindow::AddSeveralFiles);
    connect(ui_.addFolderItem, &QAction::triggered, this, &MainWindow::AddDirectory);
    connect(ui_.exitItem, &QAction::triggered, this, &QWidget::close);
    connect(ui_.moveUpItem, &QAction::triggered, this, &MainWindow::MoveRowUp);
    connect(ui_.moveDownItem, &QAction::triggered, this, &MainWindow::MoveRowDown);
    connect(ui_.moveUpButton, &QToolButton::clicked, this, &MainWindow::MoveRowUp);
    connect(ui_.moveDownButton, &QToolButton::clicked, this, &MainWindow::MoveRowDown);
    const auto rename = [this] {
        if (selectedRow() < 0) {
            dialogs_.information(this, QStringLiteral("请先选中您需要重命名的项目！"));
            return;
        }
        StartRename();
    };
    connect(ui_.renameItem, &QAction::triggered, this, rename);
    connect(ui_.renameButton, &QToolButton::clicked, this, rename);
    connect(ui_.removeItem, &QAction::triggered, this, &MainWindow::btnRemoveClick);
    connect(ui_.clearItem, &QAction::triggered, this, &MainWindow::btnClearClick);
    connect(ui_.startItem, &QAction::triggered, this, &MainWindow::btnStartClick);
    connect(ui_.stopItem, &QAction::triggered, this, &MainWindow::btnStopClick);
    connect(ui_.pauseItem, &QAction::triggered, this, &MainWindow::btnPauseClick);
    connect(ui_.resumeItem, &QAction::triggered, this, &MainWindow::btnResumeClick);
    connect(ui_.optionsItem, &QAction::triggered, this, &MainWindow::ShowOptions);
    connect(ui_.skinItem, &QAction::triggered, this, &MainWindow::ChooseSkin);
    connect(ui_.helpItem, &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(ui_.webSiteItem, &QAction::triggered, this, &MainWindow::OpenWebSite);
    connect(ui_.aboutItem, &QAction::triggered, this, &MainWindow::ShowAbout);

    connect(ui_.removeButton, &QToolButton::clicked, this, &MainWindow::btnRemoveClick);
    connect(ui_.clearButton, &QToolButton::clicked, this, &MainWindow::btnClearClick);
    connect(ui_.startButton, &QToolButton::clicked, this, &MainWindow::btnStartClick);
    connect(ui_.stopButton, &QToolButton::clicked, this, &MainWindow::btnStopClick);
    connect(ui_.pauseButton, &QToolButton::clicked, this, &MainWindow::btnPauseClick);
    connect(ui_.resumeButton, &QToolButton::clicked, this, &MainWindow::btnResumeClick);
    connect(ui_.optionsButton, &QToolButton::clicked, this, &MainWindow::ShowOptions);
    connect(ui_.skinButton, &QToolButton::clicked, this, &MainWindow::ChooseSkin);

    connect(ui_.browseButton, &QPushButton::clicked, this, &MainWindow::BrowseOutputFolder);
    connect(ui_.openButton, &QPushButton::clicked, this, &MainWindow::OpenOutputFolder);
    connect(ui_.siteLink, &QLabel::linkActivated, this, &MainWindow::OpenWebSite);
}

bool MainWindow::runCommand(const char* name) {
    return app::runCommand(this, name);
}

void MainWindow::appendLog(const QString& line) {
    ui_.mmoLog->appendPlainText(line);
}

QString MainWindow::defaultOutputFolder() {
    return QDir::homePath() + QStringLiteral("/Talwyn视频软件/输出");
}

void MainWindow::updateEmptyPicture() {
    ui_.emptyPicture->setVisible(jobs_.isEmpty());
}

void MainWindow::setOutputFolder(const QString& folder) {
    fields_.FileOutPutPath = folder;
    ui_.folderEdit->setText(folder);
    jobs_.setOutputFolder(folder);
}

bool MainWindow::applySkin(int index) {
    if (!settings::SkinCatalog::isValid(index)) {
        return false;
    }
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Link, settings::SkinCatalog::colour(index, "LINK"));
    QApplication::setPalette(palette);
    qApp->setStyleSheet(settings::SkinCatalog::styleSheet(index));
    skinIndex_ = index;
    return true;
}

void MainWindow::setWorkControlsEnabled(bool on) {
    ui_.categoryBox->setEnabled(on);
    ui_.profileBox->setEnabled(on);
    updatePresetListStates();
    ui_.browseButton->setEnabled(on);
}

void MainWindow::showPauseButton(bool pause) {
    ui_.pauseSpot->setVisible(pause);
    ui_.resumeSpot->setVisible(!pause);
}

// --- Commands -----------------------------------------------------------------------------

void MainWindow::InitValues() {
    slots_.InitValues();
}

void MainWindow::ReadMainSettings() {
    if (ini_.exists()) {
        // A stored folder that is gone is made again; a relative or foreign path is not used.
        const auto stored = ini_.value(kOutPathSection, kOutPathKey);
        if (stored && QDir::isAbsolutePath(*stored) && QDir().mkpath(*stored)) {
            setOutputFolder(QDir::cleanPath(*stored));
            return;
        }
    }
    const QString folder = defaultOutputFolder();
    if (!QDir().mkpath(folder)) {
        appendLog(QStringLiteral("Cannot create the output folder %1").arg(folder));
    }
    ini_.write(kOutPathSection, kOutPathKey, folder);
    setOutputFolder(folder);
}

void MainWindow::WriteMainSettings() {
    if (QFileInfo(fields_.FileOutPutPath).isDir()) {
        ini_.write(kOutPathSection, kOutPathKey, fields_.FileOutPutPath);
    }
}

void MainWindow::ReadSkinSettings() {
    if (!ini_.exists()) {
        ini_.write(kSkinSection, kSkinKey, QStringLiteral("0"));
        return;
    }
    if (const auto stored = ini_.value(kSkinSection, kSkinKey)) {
        bool number = false;
        const int index = stored->toInt(&number);
        if (number) {
            // An index outside the list leaves the skin shown, and the file, as they are.
            applySkin(index);
            return;
        }
        appendLog(QStringLiteral("option.ini: SetSkin \"%1\" is not a number; skin 0 is used")
                      .arg(*stored));
    }
    ini_.write(kSkinSection, kSkinKey, QStringLiteral("0"));
    applySkin(0);
}

void MainWindow::WriteSkinSettings() {
    ini_.write(kSkinSection, kSkinKey, QString::number(skinIndex_));
}

void MainWindow::DisableControlsForWork() {
    setWorkControlsEnabled(false);
    ui_.categoryBox->repaint();
}

void MainWindow::EnableControlsAfterWork() {
    setWorkControlsEnabled(true);
}

void MainWindow::OpenOutputFolder() {
    desktop_.openUrl(QUrl::fromLocalFile(ui_.folderEdit->text()));
    ui_.lvFiles->setFocus();
}

// --- Other operations ---------------------------------------------------------------------

void MainWindow::ShowHelp() {
    desktop_.openUrl(QUrl::fromLocalFile(AppPaths::dataFile(kHelpFile)));
}

void MainWindow::OpenWebSite() {
    desktop_.openUrl(QUrl(kWebSite));
}

void MainWindow::ShowAbout() {
    dialogs_.runModal(*about_);
}

void MainWindow::ShowOptions() {
    options_->rememberState();
    dialogs_.runModal(*options_);
}

void MainWindow::ChooseSkin() {
    if (const auto chosen =
            dialogs_.chooseSkin(this, settings::SkinCatalog::displayNames(), skinIndex_)) {
        applySkin(*chosen);
    }
    WriteSkinSettings();
}

void MainWindow::BrowseOutputFolder() {
    const auto folder =
        dialogs_.chooseFolder(this, QStringLiteral("选择输出目录"), fields_.FileOutPutPath);
    if (!folder || !QFileInfo(*folder).isDir()) {
        return;
    }
    setOutputFolder(*folder);
    WriteMainSettings();
    ui_.lvFiles->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.folderEdit && event->type() == QEvent::FocusIn) {
        ui_.lvFiles->setFocus();
        return true;
    }
    if (watched == ui_.edt) {
        if (event->type() == QEvent::FocusOut) {
            CommitRename();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                CommitRename();
                return true;
            }
            if (key == Qt::Key_Escape) {
                CancelRename();
                return true;
            }
        }
    }
    if ((watched == ui_.lvFiles->viewport() || watched == ui_.emptyPicture) && handleDrop(event)) {
        return true;
    }
    if (watched == ui_.lvFiles->viewport() && event->type() == QEvent::MouseButtonRelease &&
        selectedRow() < 0) {
        stopPreview();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace talwyn::app
