#include "conversion/JobRecipe.h"

#include "catalogue/Catalogue.h"
#include "media/OutputPlan.h"

#include <set>

namespace talwyn::conversion {

std::vector<std::string> CatalogueEncoders() {
    std::set<std::string> names;
    for (const catalogue::ProfileRecord& profile : catalogue::kProfiles) {
        for (const char* name : {profile.settings.VideoCodec, profile.settings.AudioCodec}) {
            if (*name) {
                names.insert(media::encoderName(name));
            }
        }
    }
    return {names.begin(), names.end()};
}

PresetTexts DefaultPresetTexts(int profileCode) {
    const std::optional<JobChoice> choice = DefaultChoiceForCode(profileCode);
    return choice ? ChosenTexts(*choice) : PresetTexts();
}

}  // namespace talwyn::conversion
