// The main window's output format: the category and profile selectors, the six preset lists, and
// how a choice made there becomes the settings record of the selected rows.

#include "app/Glyphs.h"
#include "app/MainWindow.h"
#include "app/OfficeComboBox.h"
#include "app/PresetComboBox.h"
#include "catalogue/Catalogue.h"
#include "catalogue/OutputNaming.h"
#include "conversion/JobRecord.h"
#include "joblist/ProfileApplication.h"
#include "media/PathRule.h"
#include "settings/OptionsDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <set>

namespace talwyn::app {
namespace {

using Box = MainWindowUi::PresetBox;
using joblist::PresetKind;

// The boxes are in the order of the preset kinds.
PresetKind kindOf(int box) {
    return PresetKind(box);
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
    connect(ui_.applyToAllItem, &QAction::triggered, this, &MainWindow::ApplyToAllJobs);
}

int MainWindow::currentProfileCode() const {
    return catalogue::groupOf(ui_.categoryBox->currentIndex()) * 100 +
           ui_.profileBox->currentIndex();
}

conversion::JobChoice MainWindow::panelChoice() const {
    conversion::JobChoice choice{{ui_.categoryBox->currentIndex(), ui_.profileBox->currentIndex()},
                                 {}};
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        conversion::SetPresetPosition(choice, kindOf(box), ui_.presetBoxes[box]->currentIndex());
    }
    return choice;
}

QList<int> MainWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : ui_.lvFiles->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int MainWindow::selectedRow() const {
    const QItemSelectionModel* selection = ui_.lvFiles->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), {})) {
        return current.row();
    }
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
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
    ui_.presetBoxes[box]->setCurrentIndex(position);
    presetChanged(box);
}

void MainWindow::bsSkinOfficeComboBox2Change() {
    FillProfileList();
}

void MainWindow::fillProfileEntries() {
    ui_.profileBox->clear();
    int position = 0;
    for (const catalogue::ProfileRecord& profile :
         catalogue::profilesOf(ui_.categoryBox->currentIndex())) {
        ui_.profileBox->addEntry(Glyphs::profileIcon(position++ % 2),
                                 QString::fromUtf8(profile.title),
                                 QString::fromUtf8(profile.caption));
    }
    ui_.profileBox->update();
}

void MainWindow::FillProfileList() {
    fillProfileEntries();
    selectProfile(0);
}

void MainWindow::bsSkinOfficeComboBox1Change() {
    FillPresetLists();
    applyPanelToSelectedRows();
}

void MainWindow::FillPresetLists() {
    if (const auto choice = conversion::DefaultChoice(
            {ui_.categoryBox->currentIndex(), ui_.profileBox->currentIndex()})) {
        fillPresetEntries(*choice);
        return;
    }
    for (QComboBox* list : ui_.presetBoxes) {
        list->clear();
    }
    showPanelRecord();
}

void MainWindow::fillPresetEntries(const conversion::JobChoice& choice) {
    const conversion::JobRecord record = conversion::MakeJobRecord(choice);
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        QComboBox* list = ui_.presetBoxes[box];
        list->clear();
        for (const char* entry : conversion::PresetEntries(choice, kindOf(box))) {
            list->addItem(QString::fromUtf8(entry));
        }
        list->setCurrentIndex(conversion::PresetPosition(record.choice, kindOf(box)));
    }
    showPanelRecord();
}

void MainWindow::showChoice(const conversion::JobChoice& choice) {
    ui_.categoryBox->setCurrentIndex(choice.catalogue.category);
    fillProfileEntries();
    ui_.profileBox->setCurrentIndex(choice.catalogue.profile);
    fillPresetEntries(choice);
}

const conversion::JobRecord& MainWindow::panelRecord() const {
    const conversion::JobChoice shown = panelChoice();
    if (!panelRecord_ || !(panelRecord_->choice == shown)) {
        panelRecord_ = conversion::MakeJobRecord(shown);
    }
    return *panelRecord_;
}

void MainWindow::showPanelRecord() {
    const conversion::JobRecord& record = panelRecord();
    takeSettings(record);
    fields_.All_Trant_Number = currentProfileCode() + 100;
    const std::array<bool, 6> locked = conversion::FixedPresetLists(record.choice);
    const catalogue::ProfileRecord* profile = catalogue::findProfile(currentProfileCode());
    const bool audioOnly = profile && catalogue::isAudioOnly(profile->presets);
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        const bool video = box != Box::AudioBitrateBox && box != Box::SampleRateBox;
        presetUsable_[box] = !locked[box] && !(audioOnly && video);
        ui_.presetBoxes[box]->setEffective(record.presets[box].effective, locked[box]);
    }
    updatePresetListStates();
}

void MainWindow::updatePresetListStates() {
    // A batch locks the selectors, and the lists with them; the lists the profile locks stay
    // locked after it.
    const bool unlocked = ui_.profileBox->isEnabledTo(this);
    for (int box = 0; box < int(ui_.presetBoxes.size()); ++box) {
        ui_.presetBoxes[box]->setEnabled(unlocked && presetUsable_[box]);
    }
}

void MainWindow::takeSettings(const conversion::JobRecord& record) {
    joblist::WorkingFields settings = record.fields;
    settings.FileOutPutPath = fields_.FileOutPutPath;
    settings.Video_AddFileName = fields_.Video_AddFileName;
    settings.Video_OutPutFileName = fields_.Video_OutPutFileName;
    settings.All_Trant_Number = fields_.All_Trant_Number;
    settings.T_Movie_PLayer_FileName = fields_.T_Movie_PLayer_FileName;
    fields_ = settings;
}

void MainWindow::presetChanged(Box box) {
    showPanelRecord();
    const QList<int> rows = selectedRows();
    if (rows.size() < 2) {
        applyPanelToSelectedRows();
        return;
    }
    // Several rows: each keeps its own format and other choices and takes this one entry, when
    // its list offers it.
    const QString text = ui_.presetBoxes[box]->currentText();
    for (const int row : rows) {
        std::optional<conversion::JobChoice> choice = conversion::ChoiceOfRow(jobs_.row(row));
        if (!choice) {
            continue;
        }
        const int position = conversion::EntryPosition(*choice, kindOf(box), text);
        if (position < 0) {
            appendLog(QStringLiteral("Row %1 offers no \"%2\"; it keeps its own choice")
                          .arg(row + 1)
                          .arg(text));
            continue;
        }
        conversion::SetPresetPosition(*choice, kindOf(box), position);
        applyRecord(row, conversion::MakeJobRecord(*choice));
    }
    ui_.lvFiles->setFocus();
}

void MainWindow::applyPanelToSelectedRows() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        return;
    }
    const conversion::JobRecord& record = panelRecord();
    for (const int row : rows) {
        applyRecord(row, record);
    }
    ui_.lvFiles->setFocus();
}

void MainWindow::ApplyToAllJobs() {
    const conversion::JobRecord& record = panelRecord();
    for (int row = 0; row < jobs_.rowCount(); ++row) {
        applyRecord(row, record);
    }
}

void MainWindow::applyRecord(int row, const conversion::JobRecord& record) {
    joblist::JobRow updated = jobs_.row(row);
    conversion::WriteRecordColumns(updated, record);
    if (updated.text != jobs_.row(row).text) {
        // What a batch reported was about the file of the old settings.
        for (const joblist::JobColumn column :
             {joblist::Progress, joblist::Speed, joblist::CurrentTime, joblist::OutputSize}) {
            updated.text[column].clear();
        }
    }
    const QString name = jobs_.text(row, joblist::OutputFile);
    const QString renamed = catalogue::OutputNaming::withExtension(name, record.extension);
    if (renamed != name) {
        const QString folder = ui_.folderEdit->text();
        updated.text[joblist::OutputFile] =
            QFileInfo(freeOutputPath(folder + QLatin1Char('/') + renamed, row)).fileName();
    }
    for (int column = joblist::OutputFile; column < joblist::kJobColumnCount; ++column) {
        if (column != joblist::Sequence) {
            jobs_.setText(row, joblist::JobColumn(column), updated.text[column]);
        }
    }
    media::TOutputOptions options = conversion::TaskOptions(record);
    options.FileName =
        (ui_.folderEdit->text() + QLatin1Char('/') + updated.text[joblist::OutputFile])
            .toStdString();
    slots_.setOutput(updated.slot, options);
}

const std::string& MainWindow::normalPath(const QString& path) const {
    auto it = normalPaths_.find(path);
    if (it == normalPaths_.end()) {
        it = normalPaths_.emplace(path, media::normalPath(path.toStdString())).first;
    }
    return it->second;
}

QString MainWindow::freeOutputPath(const QString& wanted, int ownRow) const {
    // A name is taken by a file on disk, by another row's output, or by any input; the last two
    // are never overwritten, whatever the overwrite choice says. Outputs are names in the one
    // output folder, so only the folder needs the path rule's work.
    const std::string folder = normalPath(ui_.folderEdit->text()) + '/';
    const auto normal = [&](const QString& path) {
        const QFileInfo info(path);
        return normalPath(info.absolutePath()) + '/' + info.fileName().toStdString();
    };
    std::set<std::string> reserved;
    if (!fields_.Video_AddFileName.isEmpty()) {
        reserved.insert(normalPath(fields_.Video_AddFileName));
    }
    for (int row = 0; row < jobs_.rowCount(); ++row) {
        reserved.insert(normalPath(jobs_.text(row, joblist::InputFile)));
        if (row != ownRow) {
            reserved.insert(folder + jobs_.text(row, joblist::OutputFile).toStdString());
        }
    }
    const auto isReserved = [&](const QString& path) {
        return reserved.count(normal(path)) > 0 || reserved.count(normalPath(path)) > 0;
    };
    const bool overwrite = options_ && options_->overwriteFile() && !isReserved(wanted);
    return catalogue::OutputNaming::uniquePath(wanted, overwrite, [&](const QString& path) {
        return catalogue::OutputNaming::occupied(path) || isReserved(path);
    });
}

void MainWindow::ResetProfileSettings() {
    joblist::ResetProfileSettings(fields_);
}

void MainWindow::ApplyProfileSettings() {
    const int code = currentProfileCode();
    joblist::ApplyProfile(fields_, code);
    fields_.Video_OutPutFileName = freeOutputPath(
        catalogue::OutputNaming::outputPath(fields_.Video_AddFileName, ui_.folderEdit->text(),
                                            joblist::ProfileExtension(code)),
        -1);
}

void MainWindow::ConfirmPresetChoices() {
    for (const Box box : {Box::FrameSizeBox, Box::FrameRateBox, Box::VideoBitrateBox,
                          Box::SampleRateBox, Box::AudioBitrateBox, Box::AspectBox}) {
        const QString text = ui_.presetBoxes[box]->currentText();
        if (!joblist::ApplyPresetText(fields_, kindOf(box), text)) {
            appendLog(
                QStringLiteral("Preset \"%1\" holds no value; the setting is kept").arg(text));
        }
    }
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
