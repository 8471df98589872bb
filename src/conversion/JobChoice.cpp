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

int EntryPosition(const JobChoice& choice, PresetKind kind, const QString& text) {
    const auto entries = PresetEntries(choice, kind);
    const QByteArray wanted = text.toUtf8();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const char* entry) { return wanted == entry; });
    return found == entries.end() ? -1 : int(found - entries.begin());
}

JobChoice MendedChoice(JobChoice choice) {
    const catalogue::ProfileRecord* profile = catalogue::findProfile(choice.profileCode());
    if (!profile) {
        return choice;
    }
    for (const PresetKind kind : kKinds) {
        const int position = PresetPosition(choice, kind);
        if (position < 0 || position >= int(PresetEntries(choice, kind).size())) {
            SetPresetPosition(choice, kind,
                              std::max(0, catalogue::selectedPosition(*cellOf(*profile, kind))));
        }
    }
    return choice;
}

std::optional<JobChoice> DefaultChoice(joblist::CatalogueIndexes indexes) {
    const JobChoice unset{indexes, {-1, -1, -1, -1, -1, -1}};
    if (!catalogue::findProfile(unset.profileCode())) {
        return std::nullopt;
    }
    return MendedChoice(unset);
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
        const int position = EntryPosition(*choice, kind, texts[size_t(kind)]);
        if (position < 0) {
            return std::nullopt;
        }
        SetPresetPosition(*choice, kind, position);
    }
    return choice;
}

PresetTexts ChosenTexts(const JobChoice& choice) {
    PresetTexts texts;
    const JobChoice mended = MendedChoice(choice);
    for (const PresetKind kind : kKinds) {
        const auto entries = PresetEntries(mended, kind);
        const int position = PresetPosition(mended, kind);
        if (position >= 0 && position < int(entries.size())) {
            texts[size_t(kind)] = QString::fromUtf8(entries[size_t(position)]);
        }
    }
    return texts;
}

}  // namespace talwyn::conversion
