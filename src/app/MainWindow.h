#pragma once

#include "app/MainWindowUi.h"
#include "conversion/JobRecord.h"
#include "joblist/JobListModel.h"
#include "joblist/JobSlots.h"
#include "joblist/WorkingFields.h"
#include "settings/IniFile.h"

#include <QWidget>

#include <map>
#include <memory>
#include <optional>

class QScrollArea;

namespace talwyn::settings {
class OptionsDialog;
}
namespace talwyn::media {
class Converter;
class Player;
struct TProgressInfo;
struct TTerminateInfo;
struct PreviewPicture;
}  // namespace talwyn::media
namespace talwyn::conversion {
class Batch;
struct BatchSummary;
struct TaskEnd;
}  // namespace talwyn::conversion
namespace talwyn::preview {
class PreviewBridge;
class Snapshots;
}  // namespace talwyn::preview

namespace talwyn::app {

class AboutWindow;
class Desktop;
class Dialogs;
class SkippedFiles;

// The main window: menus, tool bar, job list, output and preset panels, preview pane, and the
// named commands that everything else triggers.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    struct Services {
        Dialogs& dialogs;
        Desktop& desktop;
        QString optionIniPath;
    };

    // Builds the window and runs the start-up sequence; then creates the About window and the
    // Options dialog, which reads its settings.
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainWindowUi& ui() const { return ui_; }
    joblist::JobListModel& jobs() { return jobs_; }
    joblist::JobSlots& jobSlots() { return slots_; }
    joblist::WorkingFields& fields() { return fields_; }
    settings::IniFile& ini() { return ini_; }
    settings::OptionsDialog& options() { return *options_; }
    AboutWindow& about() { return *about_; }
    int skinIndex() const { return skinIndex_; }
    bool livePreview() const { return livePreview_; }
    // "Down" while the user holds the preview slider, "UP" otherwise.
    const QString& sliderState() const { return bsSkinSlider1_down_UP; }

    media::Converter& converter() { return *converter_; }
    // From the start of a batch until its last task has ended.
    bool batchRunning() const;
    conversion::Batch& batch() { return *batch_; }
    media::Player& player() { return *player_; }
    int64_t previewDuration() const { return FDuration; }
    // Adds files as the window's commands do; the last added row is selected. In the given
    // order unless reversed (the dialogs' order).
    void addFiles(const QStringList& paths, bool reversed);
    // Adds every file directly in the folder, last to first; says so when none could be added.
    void addFolder(const QString& folder);
    // Adds the files and folders the program was started with, in that order: a folder with its
    // subfolders, in natural order. One box then lists what was not added.
    void addCommandLine(const QStringList& arguments);
    // The files and folders of a later start of the program: added as the command line's are, or,
    // while the list takes none, named in a box; the window comes to the front either way.
    void addFromAnotherStart(const QStringList& arguments);

    // Its fixed size, centred on the screen's free area when that fits it; else as large as fits,
    // with its panels in a scrolled area.
    void fitToScreen(const QRect& available);

    // Runs a command of the command table by name.
    bool runCommand(const char* name);
    void appendLog(const QString& line);

    // Every command as the state of the batch, and whether the list has rows, allow.
    void applyBatchState();

    static QString defaultOutputFolder();

    // Selections made by the program, with the same consequences as the user's.
    void selectCategory(int index);
    void selectProfile(int index);
    void selectPreset(MainWindowUi::PresetBox box, int position);
    // The current one of the selected rows (the one the panel shows), or -1.
    int selectedRow() const;
    // Every selected row, in list order.
    QList<int> selectedRows() const;
    // The profile and preset positions the panel shows.
    conversion::JobChoice panelChoice() const;

  public slots:
    void InitValues();
    void ReadMainSettings();
    void WriteMainSettings();
    void PrepareOpenDialog();
    void ReadSkinSettings();
    void WriteSkinSettings();
    void FillProfileList();
    void ResetProfileSettings();
    void ApplyProfileSettings();
    void FillPresetLists();
    void ConfirmPresetChoices();
    void btnAddClick();
    void AddSeveralFiles();
    void AddDirectory();
    void btnRemoveClick();
    void btnClearClick();
    void BuildConversionTasks();
    void btnStartClick();
    void btnStopClick();
    void btnPauseClick();
    void btnResumeClick();
    void DisableControlsForWork();
    void EnableControlsAfterWork();
    void OpenOutputFolder();
    void ShutDownComputer();
    void PlayPromptSound();
    void OpenPreview();

    // The selectors' change handlers. Each runs every time a selection is made, by the user or
    // by the program, also when it does not change the index.
    void bsSkinOfficeComboBox2Change();
    void bsSkinOfficeComboBox1Change();
    // The preset lists' change handlers; they run only when a list's shown text changes.
    void bsSkinComboBox1Change();
    void bsSkinComboBox2Change();
    void bsSkinComboBox3Change();
    void bsSkinComboBox4Change();
    void bsSkinComboBox9Change();
    void bsSkinComboBox10Change();

    // The preview pane's buttons and slider.
    void PreviewPlay();
    void PreviewPause();
    void PreviewStop();
    void PreviewMute(bool mute);
    void SliderPressed();
    void SliderReleased();
    // Saves the shown picture; the path, or empty when nothing was saved.
    QString TakeSnapshot();
    void OpenSnapshotFolder();
    void ChooseSnapshotFolder();
    void ChooseSnapshotType(int type);
    // Shows the snapshot menu, its type ticked from option.ini.
    void ShowSnapshotMenu(const QPoint& where);

    void MoveRowUp();
    void MoveRowDown();
    void StartRename();
    // Takes the edit box's text as the selected row's output name; false when it is not taken.
    bool CommitRename();
    void CancelRename();

    // The panel's profile and preset choices to every row.
    void ApplyToAllJobs();

    void ShowHelp();
    void OpenWebSite();
    void ShowAbout();
    void ShowOptions();
    void ChooseSkin();
    void BrowseOutputFolder();
    // The live preview of the converter; the Options dialog's box switches it.
    void SetPreview(bool on);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void onSelectionChanged();
    void onProgress(quint64 job, const talwyn::media::TProgressInfo& info);
    void onTaskEnded(const talwyn::conversion::TaskEnd& end);
    void onBatchEnded(const talwyn::conversion::BatchSummary& summary);
    void onPreviewPicture(quint64 job, const talwyn::media::PreviewPicture& picture);
    void onFileOpen(qint64 duration, int frameWidth, int frameHeight);
    void onPlayerPosition(qint64 pts);
    void onPlayerState(int state);
    void onPlayerPicture();

  private:
    void wireCommands();
    void wireJobList();
    void wireCatalogue();
    // The ProfileCode of what the two selectors show.
    int currentProfileCode() const;
    // A preset pick: the panel's record to one selected row, the one entry to several.
    void presetChanged(MainWindowUi::PresetBox box);
    void fillProfileEntries();
    // The preset lists of the choice's profile, set to its positions.
    void fillPresetEntries(const conversion::JobChoice& choice);
    // The selectors and lists as the choice has them; no row changes.
    void showChoice(const conversion::JobChoice& choice);
    // The record of what the panel shows: the working settings, the values really used, and
    // which lists can be chosen from.
    void showPanelRecord();
    // The record of what the panel shows, made once for each choice shown.
    const conversion::JobRecord& panelRecord() const;
    void updatePresetListStates();
    void takeSettings(const conversion::JobRecord& record);
    void applyPanelToSelectedRows();
    // The row's whole record, its output name's extension and its slot's output record.
    void applyRecord(int row, const conversion::JobRecord& record);
    // The wanted path, or the first free "_1", "_2", … variant: free of existing files (unless
    // overwriting), of every input and of the outputs of the rows other than ownRow.
    QString freeOutputPath(const QString& wanted, int ownRow) const;
    // The path rule's spelling of a path, worked out once per path of the run.
    const std::string& normalPath(const QString& path) const;

    enum class AddOutcome { Added, Skipped, EndCommand };
    // Unless the file is added, `why` receives the reason in the user's words.
    AddOutcome addOneFile(const QString& path, QString* why = nullptr);
    // A plain file (links followed); anything else is logged and skipped.
    bool isRegularFile(const QString& path, QString* why = nullptr);
    // The adds that tell the user afterwards what they left out: drops and the command line.
    // A file the converter cannot take is left out and the add goes on.
    void addFileTelling(const QString& path, SkippedFiles& skipped);
    // The folder's tree, top to bottom in natural order.
    void addTreeTelling(const QString& folder, SkippedFiles& skipped);
    // Selects the last row, then shows the box once the event that started the add is over.
    void endAddTelling(const SkippedFiles& skipped);
    bool ensureLibraries();
    // Where the add dialogs start: the folder the user last added from ([Paths] in option.ini).
    QString lastInputFolder() const;
    void rememberInputFolder(const QString& folder);
    void selectRow(int row);
    void moveSelectedRow(int step);
    void stopPreview();
    void runAfterCompletion();
    bool handleDrop(QEvent* event);
    void wirePreview();
    void tickSnapshotType();
    bool applySkin(int index);
    void setOutputFolder(const QString& folder);
    void updateEmptyPicture();
    void showPauseButton(bool pause);
    // The selectors and "浏览", which a running batch locks.
    void setWorkControlsEnabled(bool on);
    // Puts everything below the menu bar into a scrolled area, once.
    void makeScrollable();

    Dialogs& dialogs_;
    Desktop& desktop_;
    settings::IniFile ini_;
    MainWindowUi ui_;
    joblist::JobListModel jobs_;
    joblist::JobSlots slots_;
    joblist::WorkingFields fields_;
    AboutWindow* about_ = nullptr;
    settings::OptionsDialog* options_ = nullptr;
    int skinIndex_ = -1;
    bool livePreview_ = false;
    QString bsSkinSlider1_down_UP;
    // The preset lists the shown profile lets the user choose from.
    std::array<bool, 6> presetUsable_{};
    QString openFilter_;
    std::unique_ptr<media::Converter> converter_;
    conversion::Batch* batch_ = nullptr;
    std::vector<quint64> taskJobs_;  // task index -> row id of the batch
    QStringList buildFailures_;      // rows of the batch that could not become tasks
    mutable std::map<QString, std::string> normalPaths_;
    mutable std::optional<conversion::JobRecord> panelRecord_;
    QWidget* livePreviewWindow_ = nullptr;
    std::unique_ptr<media::Player> player_;
    preview::PreviewBridge* previewBridge_ = nullptr;
    std::unique_ptr<preview::Snapshots> snapshots_;
    int64_t FDuration = 0;
    QScrollArea* scroller_ = nullptr;  // only on a screen too small for the window
};

}  // namespace talwyn::app
