#pragma once

#include "media/Orientation.h"
#include "media/Probe.h"
#include "media/TaskOptions.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <optional>
#include <string>
#include <vector>

// What one output file will be: its muxer and, for each kind of stream it carries, the encoder and
// the values it gets. Made from the output record and the input's description; values an encoder
// or muxer cannot take are replaced by the nearest it can, with a note.

namespace talwyn::media {

struct AudioPlan {
    const AVCodec* encoder = nullptr;
    int sampleRate = 0;
    int channels = 0;
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
    int bitsPerSample = 0;  // of the stored samples when fewer than the format's (24 in 32)
    int64_t bitRate = 0;    // 0: the encoder's own
    bool lossless = false;  // takes no bit rate
    double volume = 1.0;
};

struct VideoPlan {
    const AVCodec* encoder = nullptr;
    int width = 0, height = 0;
    // A frame of a fixed size that the picture does not fill: the picture's size, centred on
    // black; 0 when it fills the frame.
    int pictureWidth = 0, pictureHeight = 0;
    Orientation orientation;  // turns the source's pictures upright
    AVRational frameRate{25, 1};
    AVRational displayAspect{0, 1};  // 0: keep the picture's
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
    int64_t bitRate = 0, maxRate = 0, minRate = 0;
    int bufferSize = 0, gopSize = -1;
    uint32_t codecTag = 0;
};

struct OutputPlan {
    const AVOutputFormat* muxer = nullptr;
    std::optional<AudioPlan> audio;
    std::optional<VideoPlan> video;
    int packetSize = 0, muxRate = 0;
    double muxPreload = -1;
    std::vector<std::string> notes;  // what was changed to fit, for the log
    std::string error;               // set when no output can be made
};

// The encoder name the libraries know for a catalogue name ("libfaac" is now "aac").
std::string encoderName(const std::string& catalogueName);
// The muxer for an output extension (with its dot) or a forced format name.
const AVOutputFormat* muxerFor(const std::string& extension, const std::string& formatName,
                               TOptionTargetType target);

OutputPlan makeOutputPlan(const TOutputOptions& options, const TFileStreamInfo& input);

}  // namespace talwyn::media
