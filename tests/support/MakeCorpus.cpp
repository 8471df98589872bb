// talwyn-make-corpus DIR COUNT [SECONDS]: a corpus of short mono WAV files spread over a few
// speaker folders, for the tests and benchmarks that run many workers over one batch.

#include "support/MediaMaker.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kSpeakers = 4;

int usage() {
    std::fputs(
        "Usage: talwyn-make-corpus DIR COUNT [SECONDS]\n"
        "Writes COUNT short WAV files (16 kHz mono, about SECONDS long, 0.3 by default) into\n"
        "DIR/speaker-1 .. DIR/speaker-4.\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || argc > 4) {
        return usage();
    }
    char* end = nullptr;
    errno = 0;
    const long count = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || errno != 0 || count < 1 || count > 1000000) {
        return usage();
    }
    double seconds = 0.3;
    if (argc == 4) {
        seconds = std::strtod(argv[3], &end);
        if (*argv[3] == '\0' || *end != '\0' || !(seconds >= 0.05 && seconds <= 3600)) {
            return usage();
        }
    }

    namespace fs = std::filesystem;
    const fs::path root(argv[1]);
    for (int speaker = 1; speaker <= kSpeakers; ++speaker) {
        std::error_code error;
        fs::create_directories(root / ("speaker-" + std::to_string(speaker)), error);
        if (error) {
            std::fprintf(stderr, "talwyn-make-corpus: cannot create %s: %s\n",
                         (root / ("speaker-" + std::to_string(speaker))).c_str(),
                         error.message().c_str());
            return 1;
        }
    }

    talwyn::test::MediaSpec spec;
    spec.video = false;
    spec.sampleRate = 16000;
    spec.channels = 1;
    for (long i = 0; i < count; ++i) {
        // Names are unique across the speakers too, so a flat output folder takes them all; the
        // lengths differ in steps the probe's 10 ms resolution tells apart.
        char name[32];
        std::snprintf(name, sizeof name, "utt-%05ld.wav", i);
        const fs::path path =
            root / ("speaker-" + std::to_string(i % kSpeakers + 1)) / std::string(name);
        spec.seconds = seconds * (1.0 + 0.1 * double(i % 5));
        spec.tags = {{"title", "utterance " + std::to_string(i)}};
        if (const std::string problem = talwyn::test::makeMedia(path.string(), spec);
            !problem.empty()) {
            std::fprintf(stderr, "talwyn-make-corpus: %s: %s\n", path.c_str(), problem.c_str());
            return 1;
        }
    }
    return 0;
}
