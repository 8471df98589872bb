#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace talwyn::settings {

class IniFile;

// The "选项" dialog. It reads [Options] once when it is created; the rest of the program reads the
// choices from its controls. "确定" writes them; "取消" puts the controls back as they were when
// the dialog was opened.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    using PreviewSwitch = std::function<void(bool)>;

    // setPreview is called with the live-preview box's state whenever it changes, also while the
    // file is read.
    OptionsDialog(IniFile& ini, PreviewSwitch setPreview, QWidget* parent = nullptr);

    // Remembers the controls' state; the main window calls it before showing the dialog.
    void rememberState();

    int threadCount() const;     // tasks at once, 1 to 19
    int threadPriority() const;  // 0 idle, 1 lowest, 2 lower, 3 normal
    int afterDone() const;       // 0 open folder, 1 shut down, 2 sound, 3 nothing; -1 none chosen
    bool overwriteFile() const;  // "直接覆盖输出文件" is chosen
    bool showPreview() const;

    QComboBox* threadCountBox() const { return threadCountBox_; }

  public slots:
    void ReadOptionSettings();
    void WriteOptionSettings();
    void accept() override;
    void reject() override;

  private:
    struct State {
        int afterDone = -1;
        int overwrite = -1;
        int priority = -1;
        int threadIndex = 0;
        bool preview = false;
    };
    State state() const;
    void restore(const State& state);
    void selectThreadCount(int count);

    IniFile& ini_;
    PreviewSwitch setPreview_;
    QButtonGroup* afterDoneGroup_ = nullptr;
    QButtonGroup* overwriteGroup_ = nullptr;
    QButtonGroup* priorityGroup_ = nullptr;
    QComboBox* threadCountBox_ = nullptr;
    QCheckBox* previewBox_ = nullptr;
    State opened_;
};

}  // namespace talwyn::settings
