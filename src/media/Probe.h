#pragma once

#include "media/Orientation.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct AVFormatContext;

// Opens a media file and describes it. A file is accepted only when it holds an audio or video
// stream that really decodes; everything else is refused with a reason a person can read.

namespace talwyn::media {

struct StreamSummary {
    int index = -1;
    bool video = false;
    std::string codec;
    std::string codecTag;  // the four characters the container stores, when printable
    int width = 0, height = 0;
    double frameRate = 0;
    Orientation orientation;  // how the pictures are turned to be seen upright
    int sampleRate = 0, channels = 0;
    int bitsPerSample = 0;      // of the decoded samples (24 for 24-bit FLAC)
    bool floatSamples = false;  // decoded as floating point
    int64_t bitRate = 0;

    // The picture's size as it is seen, turned upright.
    int uprightWidth() const { return orientation.swapsSides() ? height : width; }
    int uprightHeight() const { return orientation.swapsSides() ? width : height; }
};

// A picture the file carries as its cover.
struct CoverSummary {
    int index = -1;  // the stream that holds it; -1: none
    std::string codec;
    int width = 0, height = 0;
    int64_t bytes = 0;
};

struct TFileStreamInfo {
    int64_t Duration = 0;   // microseconds; 0 when unknown
    int64_t StartTime = 0;  // microseconds
    int64_t BitRate = 0;    // bits per second
    std::string FormatName, FormatLongName;
    int BestVideo = -1, BestAudio = -1;  // stream indexes, -1 when absent
    std::vector<StreamSummary> Streams;  // the decodable audio and video streams
    // The file's text tags (title, artist, album, ...), those of its sound stream included.
    std::vector<std::pair<std::string, std::string>> Tags;
    CoverSummary Cover;
};

class Probe {
  public:
    bool LoadFile(const std::string& fileName, const std::string& formatName = {});
    // Describes a file another part has opened (its stream information read), without the
    // decoding check; false when it holds no audio or video stream there is a decoder for.
    bool Describe(AVFormatContext* context, const std::string& fileName);

    const TFileStreamInfo& FileStreamInfo() const { return info_; }
    int64_t FileSize() const { return fileSize_; }
    // Container, duration, bit rate and every stream, one item a line.
    std::string FileInfoText() const;
    const std::string& LastErrMsg() const { return lastError_; }

  private:
    std::string fileName_;
    TFileStreamInfo info_;
    int64_t fileSize_ = 0;
    std::string lastError_;
};

}  // namespace talwyn::media
