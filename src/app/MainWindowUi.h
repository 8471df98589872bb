#pragma once

#include "app/PresetComboBox.h"

#include <QString>

#include <array>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;

namespace talwyn::preview {
class PreviewScreen;
}

namespace talwyn::app {

class OfficeComboBox;

// The widgets of the main window, at their fixed places. Behaviour is wired by MainWindow.
struct MainWindowUi {
    static constexpr int kWidth = 803;
    static constexpr int kHeight = 541;

    void setup(QWidget* window);
    // The menu items' keys and the Tab order through the panels.
    void setUpKeyboard(QWidget* window);

    QMenuBar* menuBar = nullptr;
    QAction* addFileItem = nullptr;
    QAction* addFilesItem = nullptr;
    QAction* addFolderItem = nullptr;
    QAction* exitItem = nullptr;
    QAction* moveUpItem = nullptr;
    QAction* moveDownItem = nullptr;
    QAction* removeItem = nullptr;
    QAction* clearItem = nullptr;
    QAction* renameItem = nullptr;
    QAction* applyToAllItem = nullptr;  // the panel's format to every row
    QAction* startItem = nullptr;
    QAction* stopItem = nullptr;
    QAction* pauseItem = nullptr;
    QAction* resumeItem = nullptr;
    QAction* optionsItem = nullptr;
    QAction* skinItem = nullptr;
    QAction* helpItem = nullptr;
    QAction* webSiteItem = nullptr;
    QAction* aboutItem = nullptr;

    QToolBar* toolBar = nullptr;
    QToolButton* addButton = nullptr;
    QToolButton* removeButton = nullptr;
    QToolButton* clearButton = nullptr;
    QToolButton* startButton = nullptr;
    QToolButton* stopButton = nullptr;
    QToolButton* pauseButton = nullptr;
    QToolButton* resumeButton = nullptr;
    QAction* pauseSpot = nullptr;  // the tool bar's places of "暂停" and "继续"
    QAction* resumeSpot = nullptr;
    QToolButton* optionsButton = nullptr;
    QToolButton* skinButton = nullptr;

    QFrame* jobPanel = nullptr;
    QTableView* lvFiles = nullptr;
    QScrollBar* listScroll = nullptr;
    QToolButton* moveDownButton = nullptr;
    QToolButton* moveUpButton = nullptr;
    QToolButton* renameButton = nullptr;
    QLabel* emptyPicture = nullptr;
    QLineEdit* edt = nullptr;  // the rename box over the "输出文件" cell

    QFrame* outputPanel = nullptr;
    OfficeComboBox* categoryBox = nullptr;  // bsSkinOfficeComboBox2
    OfficeComboBox* profileBox = nullptr;   // bsSkinOfficeComboBox1
    QLineEdit* folderEdit = nullptr;        // Video_OutPut_Folder_Edit
    QPushButton* browseButton = nullptr;
    QPushButton* openButton = nullptr;
    QLabel* siteLink = nullptr;

    QFrame* presetPanel = nullptr;  // bsSkinPanel4
    // In the panel's order, which is also the order they are filled in.
    enum PresetBox {
        FrameSizeBox,
        VideoBitrateBox,
        FrameRateBox,
        AudioBitrateBox,
        SampleRateBox,
        AspectBox
    };
    std::array<PresetComboBox*, 6> presetBoxes{};

    QFrame* previewPanel = nullptr;
    preview::PreviewScreen* screen = nullptr;  // Panel6
    QSlider* slider = nullptr;                 // bsSkinSlider1
    QToolButton* playButton = nullptr;
    QToolButton* pausePreviewButton = nullptr;
    QToolButton* stopPreviewButton = nullptr;
    QToolButton* muteButton = nullptr;
    QToolButton* unmuteButton = nullptr;  // the twin of "静音", same place
    QToolButton* snapshotButton = nullptr;
    QToolButton* snapshotSettingsButton = nullptr;
    QMenu* snapshotMenu = nullptr;
    QAction* openSnapshotFolderItem = nullptr;
    QAction* chooseSnapshotFolderItem = nullptr;
    std::array<QAction*, 4> snapshotTypeItems{};  // BMP, JPG, GIF, PNG

    QPlainTextEdit* mmoLog = nullptr;
};

}  // namespace talwyn::app
