#pragma once

#include <string>

// Writes small test media with the FFmpeg libraries: a moving test picture (MPEG-4 video) and a
// tone (16-bit PCM), in the container the file name's extension asks for.

namespace talwyn::test {

struct MediaSpec {
    double seconds = 2.0;
    bool video = true;
    int width = 320, height = 240, fps = 25;
    bool audio = true;
    int sampleRate = 44100, channels = 2;
};

// Returns an empty text on success, else what failed.
std::string makeMedia(const std::string& path, const MediaSpec& spec);

}  // namespace talwyn::test
