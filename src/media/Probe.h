#pragma once

#include <cstdint>
#include <string>
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
    int sampleRate = 0, channels = 0;
    int64_t bitRate = 0;
};

struct TFileStreamInfo {
    int64_t Duration = 0;   // microseconds; 0 when unknown
    int64_t StartTime = 0;  // microseconds
    int64_t BitRate = 0;    // bits per second
    std::string FormatName, FormatLongName;
    int BestVideo = -1, BestAudio = -1;  // stream indexes, -1 when absent
    std::vector<StreamSummary> Streams;  // the decodable audio and video streams
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
