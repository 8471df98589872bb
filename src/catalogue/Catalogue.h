#pragma once

#include "catalogue/CatalogueTables.h"

#include <QString>

#include <span>

// Functions over the catalogue: categories and their groups, profiles, the keys derived from a
// selection, and the extension a profile's title names.

namespace talwyn::catalogue {

inline constexpr int kCategoryCount = 15;

// The group of a category position; -1 for a position outside the list.
int groupOf(int category);
std::span<const ProfileRecord> profilesOf(int category);
const ProfileRecord* findProfile(int code);
// group * 100 + profile index; -1 when the selection names no profile.
int profileCode(int category, int profileIndex);

// The four characters before the title's closing ")", with the corrections for the names whose
// extension is not four characters long: "flac", "aiff", "*.rm", "*.ra".
QString titleExtension(const QString& title);

// The position of the cell's preselected entry in its list, or -1.
int selectedPosition(const PresetCell& cell);
// Whether the profile carries no video: its frame-size list is the single no-video entry.
bool isAudioOnly(const PresetRow& row);

}  // namespace talwyn::catalogue
