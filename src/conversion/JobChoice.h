#pragma once

#include "joblist/JobListModel.h"
#include "joblist/ProfileApplication.h"
#include "joblist/TextFormats.h"

#include <QString>

#include <array>
#include <optional>
#include <span>

// What the user chose for one job: a profile (category and place in it) and a position in each of
// the profile's six preset lists. A row keeps it in its "视频类别" and "视频选项" columns; every
// setting of the job is derived from it.

namespace talwyn::conversion {

// Indexed by joblist::PresetKind.
using PresetTexts = std::array<QString, 6>;

struct JobChoice {
    joblist::CatalogueIndexes catalogue;
    joblist::PresetIndexes presets;

    // The ProfileCode, or -1 when the indexes name no profile.
    int profileCode() const;
    bool operator==(const JobChoice&) const = default;
};

// The profile with the entries it preselects; nothing for an unknown profile.
std::optional<JobChoice> DefaultChoice(joblist::CatalogueIndexes catalogue);
std::optional<JobChoice> DefaultChoiceForCode(int profileCode);
// The choice a row holds; nothing when its columns do not decode to a profile.
std::optional<JobChoice> ChoiceOfRow(const joblist::JobRow& row);
// The profile with the given entry texts; nothing when a text is not an entry of its list.
std::optional<JobChoice> ChoiceWithTexts(int profileCode, const PresetTexts& texts);

// The position of a preset kind in the choice.
int PresetPosition(const JobChoice& choice, joblist::PresetKind kind);
void SetPresetPosition(JobChoice& choice, joblist::PresetKind kind, int position);
// The entries of the choice's profile offers for a kind (empty for an unknown profile).
std::span<const char* const> PresetEntries(const JobChoice& choice, joblist::PresetKind kind);
// The position of an entry text in the choice's list of a kind, or -1.
int EntryPosition(const JobChoice& choice, joblist::PresetKind kind, const QString& text);
// The choice with every position outside its list put on the list's preselected entry.
JobChoice MendedChoice(JobChoice choice);
// The entry texts chosen (positions mended first).
PresetTexts ChosenTexts(const JobChoice& choice);

}  // namespace talwyn::conversion
