#pragma once

#include "media/AvPtr.h"
#include "media/OutputPlan.h"

#include <functional>
#include <memory>
#include <string>

// One stream of a conversion: decoder, filters (format, rate, size, volume) and encoder, writing
// its packets into the output file.

namespace talwyn::media {

class StreamPipeline {
  public:
    using FrameObserver = std::function<void(const AVFrame&)>;

    // startTime: the input's start in microseconds; the output begins at zero.
    static std::unique_ptr<StreamPipeline> createAudio(AVStream* input, AVFormatContext* output,
                                                       const AudioPlan& plan, int64_t startTime,
                                                       std::string& error,
                                                       std::vector<std::string>& notes);
    static std::unique_ptr<StreamPipeline> createVideo(AVStream* input, AVFormatContext* output,
                                                       const VideoPlan& plan, int64_t startTime,
                                                       std::string& error);
    ~StreamPipeline();

    int inputIndex() const { return input_->index; }
    bool isVideo() const { return video_; }
    AVStream* outputStream() const { return outputStream_; }
    // Decodes the packet and writes what it yields; false with a reason when that fails.
    bool push(const AVPacket& packet, std::string& error);
    // Drains decoder, filters and encoder at the end of the input.
    bool finish(std::string& error);

    int64_t writtenMicroseconds() const { return written_; }
    // Packets read for this stream, those that could not be decoded, and packets written.
    int64_t packetsRead() const { return packets_; }
    int64_t packetsDamaged() const { return damaged_; }
    int64_t packetsWritten() const { return packetsWritten_; }
    int64_t framesEncoded() const { return frames_; }
    // Sees every frame before it is encoded (the live preview).
    void setFrameObserver(FrameObserver observer) { observer_ = std::move(observer); }

  private:
    StreamPipeline() = default;
    bool openDecoder(std::string& error);
    // The output stream for the opened encoder.
    bool addOutputStream(std::string& error);
    bool decodeAvailable(std::string& error);
    bool initFilters(const AVFrame& first, std::string& error);
    bool filterAndEncode(AVFrame* frame, std::string& error);
    bool encode(AVFrame* frame, std::string& error);

    bool video_ = false;
    AVStream* input_ = nullptr;
    AVFormatContext* output_ = nullptr;
    AVStream* outputStream_ = nullptr;
    CodecContextPtr decoder_, encoder_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    AudioPlan audioPlan_;
    VideoPlan videoPlan_;
    int64_t startOffset_ = 0;  // in the input stream's time base
    int64_t nextPts_ = 0;      // for frames without a time stamp, in the filter input time base
    int64_t lastPts_ = 0;
    bool anyPts_ = false;
    int64_t frameDuration_ = 1;         // of a video frame without its own, in the input time base
    int64_t lastDts_ = AV_NOPTS_VALUE;  // in the output stream's time base
    int64_t packets_ = 0, damaged_ = 0, packetsWritten_ = 0;
    int64_t written_ = 0;
    int64_t frames_ = 0;
    FramePtr frame_ = makeFrame();
    FramePtr filtered_ = makeFrame();
    PacketPtr packet_ = makePacket();
    FrameObserver observer_;
};

}  // namespace talwyn::media
