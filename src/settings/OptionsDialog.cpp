#include "settings/OptionsDialog.h"

#include "settings/IniFile.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace talwyn::settings {
namespace {

const QString kSection = QStringLiteral("Options");
constexpr int kMaxThreads = 19;

QButtonGroup* addOptionGroup(QWidget* dialog, QVBoxLayout* column, const QString& caption,
                             const QStringList& options) {
    auto* box = new QGroupBox(caption, dialog);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int id = 0; id < options.size(); ++id) {
        auto* option = new QRadioButton(options[id], box);
        group->addButton(option, id);
        layout->addWidget(option);
    }
    column->addWidget(box);
    return group;
}

// The stored text as a choice 0 … count-1, or -1.
int choice(const std::optional<QString>& text, int count) {
    for (int id = 0; text && id < count; ++id) {
        if (*text == QString::number(id)) {
            return id;
        }
    }
    return -1;
}

void select(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
    }
}

}  // namespace

OptionsDialog::OptionsDialog(IniFile& ini, PreviewSwitch setPreview, QWidget* parent)
    : QDialog(parent), ini_(ini), setPreview_(std::move(setPreview)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("选项"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    afterDoneGroup_ =
        addOptionGroup(this, left, QStringLiteral("转换工作完成后"),
                       {QStringLiteral("自动打开输出文件夹"), QStringLiteral("自动关闭计算机"),
                        QStringLiteral(" 播放提示音乐"), QStringLiteral("不进行任何操作")});
    overwriteGroup_ =
        addOptionGroup(this, left, QStringLiteral("如果输出文件存在时"),
                       {QStringLiteral("直接覆盖输出文件"), QStringLiteral("自动重命名输出文件")});

    auto* parameters = new QGroupBox(QStringLiteral("转换参数"), this);
    auto* parameterLayout = new QVBoxLayout(parameters);
    auto* threadLabel =
        new QLabel(QStringLiteral("程序最大运行线程数--（同时进行转换的文件个数）"), parameters);
    threadLabel->setWordWrap(true);
    threadCountBox_ = new QComboBox(parameters);
    threadCountBox_->setObjectName(QStringLiteral("ThreadCountBox"));
    for (int count = 1; count <= kMaxThreads; ++count) {
        threadCountBox_->addItem(QString::number(count));
    }
    previewBox_ = new QCheckBox(QStringLiteral("转换时进行实时视频预览"), parameters);
    parameterLayout->addWidget(threadLabel);
    parameterLayout->addWidget(threadCountBox_);
    parameterLayout->addWidget(previewBox_);
    right->addWidget(parameters);

    priorityGroup_ =
        addOptionGroup(this, right, QStringLiteral("转换时CPU利用方式"),
                       {QStringLiteral("系统空闲时进行"), QStringLiteral("最低优先级进行"),
                        QStringLiteral("较低优先级进行"), QStringLiteral("正常优先级进行")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(previewBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (setPreview_) {
            setPreview_(on);
        }
    });

    ReadOptionSettings();
    opened_ = state();
}

void OptionsDialog::selectThreadCount(int count) {
    threadCountBox_->setCurrentIndex(count >= 1 && count <= kMaxThreads ? count - 1 : 0);
}

void OptionsDialog::ReadOptionSettings() {
    if (!ini_.exists()) {
        ini_.write(kSection, QStringLiteral("Thread_Count"), QStringLiteral("0"));
        ini_.write(kSection, QStringLiteral("After_Done"), QStringLiteral("0"));
        ini_.write(kSection, QStringLiteral("Show_Preview"), QStringLiteral("0"));
        ini_.write(kSection, QStringLiteral("Thread_Priority"), QStringLiteral("3"));
        ini_.write(kSection, QStringLiteral("Overwrite_File"), QStringLiteral("1"));
        select(afterDoneGroup_, 0);
        select(priorityGroup_, 3);
        select(overwriteGroup_, 1);
        selectThreadCount(1);
        previewBox_->setChecked(false);
        return;
    }

    // Reads one key as a choice 0 … count-1; a missing or foreign value is replaced by fallback.
    const auto readChoice = [this](const QString& key, int count, int fallback) {
        const int id = choice(ini_.value(kSection, key), count);
        if (id >= 0) {
            return id;
        }
        ini_.write(kSection, key, QString::number(fallback));
        return fallback;
    };

    // Any stored count 1 … 19 is taken; "0" means one task; anything else is replaced by "0".
    const int count = choice(ini_.value(kSection, QStringLiteral("Thread_Count")), kMaxThreads + 1);
    if (count < 0) {
        ini_.write(kSection, QStringLiteral("Thread_Count"), QStringLiteral("0"));
    }
    selectThreadCount(count);

    select(afterDoneGroup_, readChoice(QStringLiteral("After_Done"), 4, 0));
    select(priorityGroup_, readChoice(QStringLiteral("Thread_Priority"), 4, 3));
    select(overwriteGroup_, readChoice(QStringLiteral("Overwrite_File"), 2, 1));
    previewBox_->setChecked(readChoice(QStringLiteral("Show_Preview"), 2, 0) == 1);
}

void OptionsDialog::WriteOptionSettings() {
    ini_.write(kSection, QStringLiteral("Thread_Count"), threadCountBox_->currentText());
    if (afterDone() >= 0) {
        ini_.write(kSection, QStringLiteral("After_Done"), QString::number(afterDone()));
    }
    ini_.write(kSection, QStringLiteral("Show_Preview"),
               previewBox_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (priorityGroup_->checkedId() >= 0) {
        ini_.write(kSection, QStringLiteral("Thread_Priority"),
                   QString::number(priorityGroup_->checkedId()));
    }
    if (overwriteGroup_->checkedId() >= 0) {
        ini_.write(kSection, QStringLiteral("Overwrite_File"),
                   QString::number(overwriteGroup_->checkedId()));
    }
}

void OptionsDialog::rememberState() {
    opened_ = state();
}

void OptionsDialog::accept() {
    WriteOptionSettings();
    opened_ = state();
    QDialog::accept();
}

void OptionsDialog::reject() {
    restore(opened_);
    QDialog::reject();
}

OptionsDialog::State OptionsDialog::state() const {
    return {afterDoneGroup_->checkedId(), overwriteGroup_->checkedId(), priorityGroup_->checkedId(),
            threadCountBox_->currentIndex(), previewBox_->isChecked()};
}

void OptionsDialog::restore(const State& state) {
    select(afterDoneGroup_, state.afterDone);
    select(overwriteGroup_, state.overwrite);
    select(priorityGroup_, state.priority);
    threadCountBox_->setCurrentIndex(state.threadIndex);
    previewBox_->setChecked(state.preview);
}

int OptionsDialog::threadCount() const {
    return threadCountBox_->currentText().toInt();
}

int OptionsDialog::threadPriority() const {
    const int id = priorityGroup_->checkedId();
    return id >= 0 ? id : 3;
}

int OptionsDialog::afterDone() const {
    return afterDoneGroup_->checkedId();
}

bool OptionsDialog::overwriteFile() const {
    return overwriteGroup_->checkedId() == 0;
}

bool OptionsDialog::showPreview() const {
    return previewBox_->isChecked();
}

}  // namespace talwyn::settings
