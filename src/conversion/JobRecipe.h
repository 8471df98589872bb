#pragma once

#include "joblist/ProfileApplication.h"
#include "joblist/WorkingFields.h"
#include "media/TaskOptions.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

// A job's settings made the way the window makes them: the profile's own settings, then the six
// preset texts, then the converter's record. Shared by the window and the command-line tool.

namespace talwyn::conversion {

// Indexed by joblist::PresetKind.
using PresetTexts = std::array<QString, 6>;

// The encoders the catalogue names, as the libraries call them.
std::vector<std::string> CatalogueEncoders();

// The entries a profile preselects.
PresetTexts DefaultPresetTexts(int profileCode);
// Working settings for the profile and the preset texts (applied in the window's order).
joblist::WorkingFields JobSettings(int profileCode, const PresetTexts& presets);
// The record a task gets at start: the adding record with the job's file extension.
media::TOutputOptions TaskRecord(const joblist::WorkingFields& fields);

}  // namespace talwyn::conversion
