#pragma once

#include <string>
#include <utility>
#include <vector>

// Writes small test media with the FFmpeg libraries: a moving test picture (MPEG-4 video) and a
// tone (16-bit PCM), in the container the file name's extension asks for.

namespace talwyn::test {

struct MediaSpec {
    double seconds = 2.0;
    bool video = true;
    int width = 320, height = 240, fps = 25;
    // A still picture: black with a white block in its top left corner, to see how it is turned.
    bool cornerMark = false;
    // A display matrix that shows the pictures turned clockwise by this many degrees (a multiple
    // of 90), after mirroring them left-right when asked (MP4 and MOV only).
    int displayTurn = 0;
    bool displayMirror = false;
    bool audio = true;
    int sampleRate = 44100, channels = 2;
    // The sound's depth: 16, 24 or 32 bits, or 32-bit floating point. The codec follows the
    // extension: MP3 for ".mp3", FLAC for ".flac", else PCM of that depth.
    int bits = 16;
    bool floatSamples = false;
    // A JPEG cover picture of this size (width 0: none), and text tags, for the file.
    int coverWidth = 0, coverHeight = 0;
    std::vector<std::pair<std::string, std::string>> tags = {{"title", "测试音轨"}};
};

// Returns an empty text on success, else what failed.
std::string makeMedia(const std::string& path, const MediaSpec& spec);

}  // namespace talwyn::test
