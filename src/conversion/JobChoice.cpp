#include "conversion/JobChoice.h"

#include "catalogue/Catalogue.h"

namespace talwyn::conversion {

using joblist::PresetKind;

namespace {

// Indexed by PresetKind.
constexpr int joblist::PresetIndexes::*kPositions[] = {
    &joblist::PresetIndexes::frameSize,  &joblist::PresetIndexes::videoBitrate,
    &joblist::PresetIndexes::frameRate,  &joblist::PresetIndexes::audioBitrate,
    &joblist::PresetIndexes::sampleRate, &joblist::PresetIndexes::aspect};
constexpr catalogue::PresetCell catalogue::PresetRow::*kCells[] = {
    &catalogue::PresetRow::frameSize,  &catalogue::PresetRow::videoBitrate,
    &catalogue::PresetRow::frameRate,  &catalogue::PresetRow::audioBitrate,
    &catalogue::PresetRow::sampleRate, &catalogue::PresetRow::aspect};

const catalogue::PresetCell* cellOf(const catalogue::ProfileRecord& profile, PresetKind kind) {
    return &(profile.presets.*kCells[size_t(kind)]);
}

constexpr PresetKind kKinds[] = {PresetKind::FrameSize,  PresetKind::VideoBitrate,
                                 PresetKind::FrameRate,  PresetKind::AudioBitrate,
                                 PresetKind::SampleRate, PresetKind::Aspect};

}  // namespace

int JobChoice::profileCode() const {
    return catalogue::profileCode(catalogue.category, catalogue.profile);
}

int PresetPosition(const JobChoice& choice, PresetKind kind) {
    return choice.presets.*kPositions[size_t(kind)];
}

void SetPresetPosition(JobChoice& choice, PresetKind kind, int position) {
    choice.presets.*kPositions[size_t(kind)] = position;
}

std::span<const char* const> PresetEntries(const JobChoice& choice, PresetKind kind) {
    const catalogue::ProfileRecord* profile = catalogue::findProfile(choice.profileCode());
    return profile ? cellOf(*profile, kind)->list->entries : std::span<const char* const>();
}

std::optional<JobChoice> DefaultChoice(joblist::CatalogueIndexes indexes) {
    JobChoice choice{indexes, {}};
    const catalogue::ProfileRecord* profile = catalogue::findProfile(choice.profileCode());
    if (!profile) {
        return std::nullopt;
    }
    for (const PresetKind kind : kKinds) {
        SetPresetPosition(choice, kind,
                          std::max(0, catalogue::selectedPosition(*cellOf(*profile, kind))));
    }
    return choice;
}

std::optional<JobChoice> DefaultChoiceForCode(int profileCode) {
    for (int category = 0; category < catalogue::kCategoryCount; ++category) {
        if (catalogue::groupOf(category) == profileCode / 100) {
            return DefaultChoice({category, profileCode % 100});
        }
    }
    return std::nullopt;
}

std::optional<JobChoice> ChoiceOfRow(const joblist::JobRow& row) {
    bool ok = false;
    const int slot = row.text[joblist::CatalogueSlotColumn].toInt(&ok);
    const auto positions = joblist::DecodePresetPositions(row.text[joblist::PresetPositionsColumn]);
    if (!ok || !positions) {
        return std::nullopt;
    }
    const JobChoice choice{joblist::DecodeCatalogueSlot(slot), *positions};
    if (!catalogue::findProfile(choice.profileCode())) {
        return std::nullopt;
    }
    return choice;
}

std::optional<JobChoice> ChoiceWithTexts(int profileCode, const PresetTexts& texts) {
    std::optional<JobChoice> choice = DefaultChoiceForCode(profileCode);
    if (!choice) {
        return std::nullopt;
    }
    for (const PresetKind kind : kKinds) {
        const auto entries = PresetEntries(*choice, kind);
        const QByteArray wanted = texts[size_t(kind)].toUtf8();
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const char* entry) { return wanted == entry; });
        if (found == entries.end()) {
            return std::nullopt;
        }
        SetPresetPosition(*choice, kind, int(found - entries.begin()));
    }
    return choice;
}

PresetTexts ChosenTexts(const JobChoice& choice) {
    PresetTexts texts;
    const catalogue::ProfileRecord* profile = catalogue::findProfile(choice.profileCode());
    if (!profile) {
        return texts;
    }
    for (const PresetKind kind : kKinds) {
        const catalogue::PresetCell& cell = *cellOf(*profile, kind);
        const int position = PresetPosition(choice, kind);
        const bool inList = position >= 0 && position < int(cell.list->entries.size());
        texts[size_t(kind)] =
            QString::fromUtf8(inList ? cell.list->entries[size_t(position)] : cell.selected);
    }
    return texts;
}

}  // namespace talwyn::conversion
