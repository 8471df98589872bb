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
    PresetTexts texts;
    if (const catalogue::ProfileRecord* profile = catalogue::findProfile(profileCode)) {
        const catalogue::PresetRow& row = profile->presets;
        const catalogue::PresetCell* cells[] = {&row.frameSize,  &row.videoBitrate,
                                                &row.frameRate,  &row.audioBitrate,
                                                &row.sampleRate, &row.aspect};
        for (size_t i = 0; i < texts.size(); ++i) {
            texts[i] = QString::fromUtf8(cells[i]->selected);
        }
    }
    return texts;
}

}  // namespace talwyn::conversion
