#include "media/Transcoder.h"

#include "media/AvError.h"
#include "media/AvPtr.h"
#include "media/Logger.h"
#include "media/OutputPlan.h"
#include "media/StreamPipeline.h"
#include "media/TaskControl.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace talwyn::media {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr auto kPreviewInterval = std::chrono::milliseconds(100);

bool samePath(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) {
        return true;
    }
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

// A small RGB copy of a picture for the live preview.
PreviewPicture previewOf(const AVFrame& frame, int taskIndex) {
    PreviewPicture picture;
    picture.TaskIndex = taskIndex;
    const double scale = std::min(1.0, std::min(320.0 / frame.width, 240.0 / frame.height));
    picture.width = std::max(2, int(frame.width * scale));
    picture.height = std::max(2, int(frame.height * scale));
    SwsPtr scaler(sws_getContext(frame.width, frame.height, AVPixelFormat(frame.format),
                                 picture.width, picture.height, AV_PIX_FMT_RGB32, SWS_BILINEAR,
                                 nullptr, nullptr, nullptr));
    if (!scaler) {
        return {};
    }
    picture.rgb32.resize(size_t(picture.width) * picture.height * 4);
    uint8_t* planes[4] = {picture.rgb32.data(), nullptr, nullptr, nullptr};
    int strides[4] = {picture.width * 4, 0, 0, 0};
    sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
    return picture;
}

}  // namespace

Transcoder::Transcoder(int taskIndex, TInputOptions input, TOutputOptions output,
                       TFileStreamInfo info, TaskControl& control, Callbacks callbacks)
    : taskIndex_(taskIndex),
      input_(std::move(input)),
      output_(std::move(output)),
      info_(std::move(info)),
      control_(control),
      callbacks_(std::move(callbacks)) {}

std::string Transcoder::temporaryPath(const std::string& finalPath) {
    static thread_local std::mt19937 random{std::random_device{}()};
    const fs::path path(finalPath);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", unsigned(random()));
    std::string name(".");
    name += path.filename().string();
    name += ".talwyn-";
    name += suffix;
    name += ".part";
    return (path.parent_path() / name).string();
}

TranscodeResult Transcoder::run() {
    TranscodeResult result;
    const auto fail = [&](const std::string& message) {
        result.failed = true;
        result.message = message;
        return result;
    };
    const std::string& inputPath = input_.FileName;
    const std::string& finalPath = output_.FileName;
    if (samePath(inputPath, finalPath)) {
        return fail("输出文件与输入文件相同，已拒绝转换: " + finalPath);
    }

    const AVIOInterruptCB interrupt{&TaskControl::interruptCallback, &control_};
    InputContextPtr in;
    {
        AVFormatContext* raw = avformat_alloc_context();
        raw->interrupt_callback = interrupt;
        const AVInputFormat* forced =
            input_.FileFormat.empty() ? nullptr : av_find_input_format(input_.FileFormat.c_str());
        if (const int status = avformat_open_input(&raw, inputPath.c_str(), forced, nullptr);
            status < 0) {
            return fail("无法打开输入文件 " + inputPath + ": " + avErrorText(status));
        }
        in.reset(raw);
    }
    if (const int status = avformat_find_stream_info(in.get(), nullptr); status < 0) {
        return fail("无法读取输入文件 " + inputPath + ": " + avErrorText(status));
    }

    OutputPlan plan = makeOutputPlan(output_, info_);
    if (!plan.error.empty()) {
        return fail(plan.error);
    }

    const std::string temporary = temporaryPath(finalPath);
    struct Cleanup {
        const std::string& path;
        bool keep = false;
        ~Cleanup() {
            if (!keep) {
                std::error_code ignored;
                fs::remove(path, ignored);
            }
        }
    } cleanup{temporary};

    OutputContextPtr out;
    {
        AVFormatContext* raw = nullptr;
        if (const int status =
                avformat_alloc_output_context2(&raw, plan.muxer, nullptr, temporary.c_str());
            status < 0) {
            return fail("无法建立输出文件: " + avErrorText(status));
        }
        out.reset(raw);
        out->interrupt_callback = interrupt;
    }
    av_dict_copy(&out->metadata, in->metadata, 0);

    const int64_t startTime = in->start_time != AV_NOPTS_VALUE ? in->start_time : 0;
    std::vector<std::unique_ptr<StreamPipeline>> pipelines;
    std::string error;
    if (plan.video) {
        auto pipeline = StreamPipeline::createVideo(in->streams[info_.BestVideo], out.get(),
                                                    *plan.video, startTime, error);
        if (!pipeline) {
            return fail(error);
        }
        pipelines.push_back(std::move(pipeline));
    }
    if (plan.audio) {
        auto pipeline = StreamPipeline::createAudio(in->streams[info_.BestAudio], out.get(),
                                                    *plan.audio, startTime, error, plan.notes);
        if (!pipeline) {
            return fail(error);
        }
        pipelines.push_back(std::move(pipeline));
    }
    for (const std::string& note : plan.notes) {
        Logger::log(4, "任务 " + std::to_string(taskIndex_ + 1) + ": " + note);
    }

    if (!(out->oformat->flags & AVFMT_NOFILE)) {
        if (const int status =
                avio_open2(&out->pb, temporary.c_str(), AVIO_FLAG_WRITE, &interrupt, nullptr);
            status < 0) {
            return fail("无法写入输出文件夹 " + fs::path(finalPath).parent_path().string() + ": " +
                        avErrorText(status));
        }
    }
    AVDictionary* muxerOptions = nullptr;
    if (plan.packetSize > 0) {
        av_dict_set_int(&muxerOptions, "packetsize", plan.packetSize, 0);
    }
    if (plan.muxRate > 0) {
        av_dict_set_int(&muxerOptions, "muxrate", plan.muxRate, 0);
    }
    if (plan.muxPreload >= 0) {
        av_dict_set_int(&muxerOptions, "preload", int64_t(plan.muxPreload * AV_TIME_BASE), 0);
    }
    const int headerStatus = avformat_write_header(out.get(), &muxerOptions);
    av_dict_free(&muxerOptions);
    if (headerStatus < 0) {
        return fail(control_.stopRequested() ? std::string()
                                             : "无法写入输出文件头: " + avErrorText(headerStatus));
    }

    // Decode, convert and write until the input ends, the user stops, or something fails.
    StreamPipeline* videoPipeline = plan.video ? pipelines.front().get() : nullptr;
    const auto started = Clock::now();
    auto lastProgress = started;
    auto lastPreview = started - kPreviewInterval;
    if (videoPipeline && callbacks_.preview) {
        videoPipeline->setFrameObserver([&](const AVFrame& frame) {
            const auto now = Clock::now();
            if (now - lastPreview >= kPreviewInterval && callbacks_.wantsPreview &&
                callbacks_.wantsPreview()) {
                lastPreview = now;
                callbacks_.preview(previewOf(frame, taskIndex_));
            }
        });
    }
    const auto report = [&] {
        TProgressInfo info;
        info.TaskIndex = taskIndex_;
        for (const auto& pipeline : pipelines) {
            info.CurrentDuration = std::max(info.CurrentDuration, pipeline->writtenMicroseconds());
        }
        // Muxers that go back to fill in their header leave the position short of the end.
        info.CurrentSize = out->pb ? std::max(avio_tell(out->pb), avio_size(out->pb)) : 0;
        info.TotalDuration = info_.Duration;
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        if (videoPipeline) {
            info.FrameNumber = int32_t(videoPipeline->framesEncoded());
            info.FPS = seconds > 0 ? int32_t(videoPipeline->framesEncoded() / seconds) : 0;
        }
        info.BitRate = info.CurrentDuration > 0
                           ? float(info.CurrentSize * 8.0 / (info.CurrentDuration / 1e6) / 1000.0)
                           : 0.0f;
        if (callbacks_.progress) {
            callbacks_.progress(info);
        }
    };

    report();  // the task has begun
    PacketPtr packet = makePacket();
    bool stopped = false;
    for (;;) {
        if (!control_.waitWhilePaused()) {
            stopped = true;
            break;
        }
        const int status = av_read_frame(in.get(), packet.get());
        if (status < 0) {
            stopped = control_.stopRequested();
            break;  // the end of the input, or as far as a damaged file can be read
        }
        for (const auto& pipeline : pipelines) {
            if (pipeline->inputIndex() == packet->stream_index && !pipeline->push(*packet, error)) {
                av_packet_unref(packet.get());
                return fail(error);
            }
        }
        av_packet_unref(packet.get());
        if (Clock::now() - lastProgress >= kProgressInterval) {
            lastProgress = Clock::now();
            report();
        }
    }
    if (stopped) {
        result.message = "转换已停止";
        return result;
    }
    for (const auto& pipeline : pipelines) {
        if (!pipeline->finish(error)) {
            return fail(error);
        }
    }
    if (const int status = av_write_trailer(out.get()); status < 0) {
        return fail("无法完成输出文件: " + avErrorText(status));
    }
    report();
    if (out->pb && !(out->oformat->flags & AVFMT_NOFILE)) {
        if (const int status = avio_closep(&out->pb); status < 0) {
            return fail("无法写完输出文件: " + avErrorText(status));
        }
    }
    std::error_code renameError;
    fs::rename(temporary, finalPath, renameError);
    if (renameError) {
        return fail("无法把输出文件命名为 " + finalPath + ": " + renameError.message());
    }
    cleanup.keep = true;
    result.finished = true;
    return result;
}

}  // namespace talwyn::media
