#pragma once

#include "conversion/JobChoice.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

// What the window and the command-line tool both need of the catalogue beyond one job's record.

namespace talwyn::conversion {

// The encoders the catalogue names, as the libraries call them.
std::vector<std::string> CatalogueEncoders();

// The entries a profile preselects.
PresetTexts DefaultPresetTexts(int profileCode);

}  // namespace talwyn::conversion
