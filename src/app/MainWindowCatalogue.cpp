// The main window's output format: the category and profile selectors, the six preset lists, and
// how they make the working settings and rewrite the selected job row.

#include "app/Glyphs.h"
#include "app/MainWindow.h"
#include "app/OfficeComboBox.h"
#include "catalogue/Catalogue.h"
#include "catalogue/OutputNaming.h"
#include "joblist/ProfileApplication.h"
#include "joblist/TextFormats.h"
#include "settings/OptionsDialog.h"

#include <QDir>
#include <QFileInfo>

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <set>

namespace talwyn::app {
namespace {

using Box = MainWindowUi::PresetBox;
using joblist::JobColumn;

struct PresetBoxInfo {
    int storedField;   // its field in the row's preset positions
    JobColumn column;  // the row's column of its setting
};

// Indexed by MainWindowUi::PresetBox.
constexpr std::array<PresetBoxInfo, 6> kPresetBoxes{{
    {0, joblist::FrameSize},
    {1, joblist::VideoBitrate},
    {4, joblist::FrameRate},
    {2, joblist::AudioBitrate},
    {5, joblist::AudioSampleRate},
    {3, joblist::FrameAspectRatio},
}};

const catalogue::PresetCell& cellOf(const catalogue::PresetRow& row, Box box) {
    switch (box) {
        case Box::FrameSizeBox:
            return row.frameSize;
        case Box::VideoBitrateBox:
            return row.videoBitrate;
        case Box::FrameRateBox:
            return row.frameRate;
        case Box::AudioBitrateBox:
            return row.audioBitrate;
        case Box::SampleRateBox:
            return row.sampleRate;
        case Box::AspectBox:
            break;
    }
    return row.aspect;
}

}  // namespace

void MainWindow::wireCatalogue() {
    for (const catalogue::CategoryInfo& category : catalogue::kCategories) {
        ui_.categoryBox->addEntry(Glyphs::categoryIcon(category.icon), {},
                                  QString::fromUtf8(category.caption));
    }
    ui_.categoryBox->setCurrentIndex(0);
    // "activated" comes with every pick, also of the entry already selected.
    connect(ui_.categoryBox, &QComboBox::activated, this, &MainWindow::selectCategory);
    connect(ui_.profileBox, &QComboBox::activated, this, &MainWindow::selectProfile);
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        connect(ui_.presetBoxes[box], &QComboBox::activated, this,
                [this, box](int position) { selectPreset(Box(box), position); });
    }
}

int MainWindow::currentProfileCode() const {
    return catalogue::groupOf(ui_.categoryBox->currentIndex()) * 100 +
           ui_.profileBox->currentIndex();
}

int MainWindow::selectedRow() const {
    const QModelIndexList rows = ui_.lvFiles->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::selectCategory(int index) {
    ui_.categoryBox->setCurrentIndex(index);
    bsSkinOfficeComboBox2Change();
}

void MainWindow::selectProfile(int index) {
    ui_.profileBox->setCurrentIndex(index);
    bsSkinOfficeComboBox1Change();
}

void MainWindow::selectPreset(Box box, int position) {
    QComboBox* list = ui_.presetBoxes[box];
    list->setCurrentIndex(position);
    const QString shown = list->currentText();
    if (shown == presetShown_[box]) {
        return;
    }
    presetShown_[box] = shown;
    presetChanged(box);
}

void MainWindow::bsSkinOfficeComboBox2Change() {
    FillProfileList();
}

void MainWindow::FillProfileList() {
    ui_.profileBox->clear();
    int position = 0;
    for (const catalogue::ProfileRecord& profile :
         catalogue::profilesOf(ui_.categoryBox->currentIndex())) {
        ui_.profileBox->addEntry(Glyphs::profileIcon(position++ % 2),
                                 QString::fromUtf8(profile.title),
                                 QString::fromUtf8(profile.caption));
    }
    ui_.profileBox->update();
    selectProfile(0);
}

void MainWindow::bsSkinOfficeComboBox1Change() {
    FillPresetLists();
    const QString titleExtension = catalogue::titleExtension(ui_.profileBox->currentText());
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    ApplyProfileSettings();
    ConfirmPresetChoices();
    // The row converts with what the preset lists show, so its preset columns say the same.
    for (int box = 0; box < int(kPresetBoxes.size()); ++box) {
        jobs_.setText(row, kPresetBoxes[box].column, presetSetting(Box(box)));
    }
    jobs_.setText(row, joblist::OutputFile,
                  catalogue::OutputNaming::withExtension(jobs_.text(row, joblist::OutputFile),
                                                         titleExtension));
    jobs_.setText(row, joblist::CatalogueSlotColumn,
                  QString::number(joblist::EncodeCatalogueSlot(
                      {ui_.categoryBox->currentIndex(), ui_.profileBox->currentIndex()})));
    ui_.lvFiles->setFocus();
}

void MainWindow::ResetProfileSettings() {
    joblist::ResetProfileSettings(fields_);
}

void MainWindow::ApplyProfileSettings() {
    const int code = currentProfileCode();
    joblist::ApplyProfile(fields_, code);
    const QString extension = joblist::ProfileExtension(code);

    // A name is taken by a file on disk, by another row's output, or by any input; the last two
    // are never overwritten, whatever the overwrite choice says.
    const QString folder = ui_.folderEdit->text();
    std::set<QString> reserved{QDir::cleanPath(fields_.Video_AddFileName)};
    for (int row = 0; row < jobs_.rowCount(); ++row) {
        reserved.insert(QDir::cleanPath(jobs_.text(row, joblist::InputFile)));
        reserved.insert(
            QDir::cleanPath(folder + QLatin1Char('/') + jobs_.text(row, joblist::OutputFile)));
    }
    const auto isReserved = [&](const QString& path) {
        return reserved.count(QDir::cleanPath(path)) > 0;
    };
    const QString wanted =
        catalogue::OutputNaming::outputPath(fields_.Video_AddFileName, folder, extension);
    const bool overwrite = options_ && options_->overwriteFile() && !isReserved(wanted);
    fields_.Video_OutPutFileName = catalogue::OutputNaming::uniquePath(
        wanted, overwrite,
        [&](const QString& path) { return QFileInfo::exists(path) || isReserved(path); });

    if (const int row = selectedRow(); row >= 0) {
        writeSettingsColumns(row);
    }
}

void MainWindow::writeSettingsColumns(int row) {
    const joblist::WorkingFields& f = fields_;
    const std::pair<JobColumn, QString> columns[] = {
        {joblist::VideoCodec, f.Video_VideoCodec},
        {joblist::AudioCodec, f.Video_AudioCodec},
        {joblist::AudioChannels, f.Video_AudioChannels},
        {joblist::VideoTag, f.Video_VideoTag},
        {joblist::FileExt, f.Video_FileExt},
        {joblist::FrameSize, f.Video_FrameSize},
        {joblist::VideoBitrate, QString::number(f.Video_VideoBitrate)},
        {joblist::FrameRate, f.Video_FrameRate},
        {joblist::AudioBitrate, QString::number(f.Video_AudioBitrate)},
        {joblist::AudioSampleRate, f.Video_AudioSampleRate},
        {joblist::FrameAspectRatio, f.Video_FrameAspectRatio},
        {joblist::DisableVideo,
         f.Video_DisableVideo ? QStringLiteral("True") : QStringLiteral("False")},
        {joblist::TargetType, f.Video_TargetType},
        {joblist::NormType, f.Video_NormType},
    };
    for (const auto& [column, value] : columns) {
        jobs_.setText(row, column, value);
    }
}

void MainWindow::FillPresetLists() {
    // Emptying a list leaves what it last showed in presetShown_.
    for (QComboBox* list : ui_.presetBoxes) {
        list->clear();
        list->setEnabled(true);
    }
    const int code = currentProfileCode();
    fields_.All_Trant_Number = code + 100;
    fields_.Video_DisableVideo = false;
    const catalogue::ProfileRecord* profile = catalogue::findProfile(code);
    if (!profile) {
        return;
    }
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        const catalogue::PresetCell& cell = cellOf(profile->presets, Box(box));
        for (const char* entry : cell.list->entries) {
            ui_.presetBoxes[box]->addItem(QString::fromUtf8(entry));
        }
        selectPreset(Box(box), catalogue::selectedPosition(cell));
    }
    if (catalogue::isAudioOnly(profile->presets)) {
        for (const Box box :
             {Box::FrameSizeBox, Box::VideoBitrateBox, Box::AspectBox, Box::FrameRateBox}) {
            ui_.presetBoxes[box]->setEnabled(false);
        }
    }
}

void MainWindow::ConfirmPresetChoices() {
    for (const Box box : {Box::FrameSizeBox, Box::FrameRateBox, Box::VideoBitrateBox,
                          Box::SampleRateBox, Box::AudioBitrateBox, Box::AspectBox}) {
        applyPresetText(box, ui_.presetBoxes[box]->currentText());
    }
}

void MainWindow::applyPresetText(Box box, const QString& text) {
    if (!joblist::ApplyPresetText(fields_, joblist::PresetKind(box), text)) {
        appendLog(QStringLiteral("Preset \"%1\" holds no value; the setting is kept").arg(text));
    }
}

QString MainWindow::presetSetting(Box box) const {
    return joblist::PresetSetting(fields_, joblist::PresetKind(box));
}

void MainWindow::presetChanged(Box box) {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const PresetBoxInfo& info = kPresetBoxes[box];
    jobs_.setText(
        row, joblist::PresetPositionsColumn,
        joblist::ReplacePresetField(jobs_.text(row, joblist::PresetPositionsColumn),
                                    info.storedField, ui_.presetBoxes[box]->currentIndex()));
    applyPresetText(box, ui_.presetBoxes[box]->currentText());
    jobs_.setText(row, info.column, presetSetting(box));
    ui_.lvFiles->setFocus();
}

void MainWindow::bsSkinComboBox1Change() {
    presetChanged(Box::FrameSizeBox);
}
void MainWindow::bsSkinComboBox2Change() {
    presetChanged(Box::VideoBitrateBox);
}
void MainWindow::bsSkinComboBox3Change() {
    presetChanged(Box::AudioBitrateBox);
}
void MainWindow::bsSkinComboBox4Change() {
    presetChanged(Box::AspectBox);
}
void MainWindow::bsSkinComboBox9Change() {
    presetChanged(Box::FrameRateBox);
}
void MainWindow::bsSkinComboBox10Change() {
    presetChanged(Box::SampleRateBox);
}

}  // namespace talwyn::app
