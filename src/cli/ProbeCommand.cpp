#include "cli/CliCommands.h"

#include "catalogue/Catalogue.h"
#include "media/OutputPlan.h"
#include "media/Probe.h"

#include <cstdio>
#include <set>

namespace talwyn::cli {

std::vector<std::string> catalogueEncoders() {
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

int runProbe(const std::vector<std::string>& files) {
    if (files.empty()) {
        std::fputs("talwynwav-cli: probe needs at least one file\n", stderr);
        return 2;
    }
    int status = 0;
    for (const std::string& file : files) {
        media::Probe probe;
        if (probe.LoadFile(file)) {
            std::fputs((probe.FileInfoText() + "\n").c_str(), stdout);
        } else {
            std::fprintf(stderr, "talwynwav-cli: %s\n", probe.LastErrMsg().c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace talwyn::cli
