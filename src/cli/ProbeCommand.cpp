#include "cli/CliCommands.h"

#include "media/Probe.h"

#include <cstdio>

namespace talwyn::cli {

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
