#include "media/Transcoder.h"

#include "media/AvError.h"
#include "media/AvPtr.h"
#include "media/CoverArt.h"
#include "media/FileTags.h"
#include "media/InputFile.h"
#include "media/Logger.h"
#include "media/OutputPlan.h"
#include "media/PathRule.h"
#include "media/StreamPipeline.h"
#include "media/TaskControl.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

namespace talwyn::media {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr auto kPreviewInterval = std::chrono::milliseconds(100);

// Whether the input ended early or lost enough to damage that the output is not the whole of it.
// A container that only estimates its duration from the bit rate is not held to it.
std::string shortfall(const AVFormatContext& input, const std::string& readError, int64_t converted,
                      int64_t total, int64_t packets, int64_t damaged) {
    if (!readError.empty()) {
        return "读取输入文件出错: " + readError;
    }
    const bool trustedDuration = input.duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
    const int64_t tolerance = std::max<int64_t>(1'000'000, total / 20);
    if (trustedDuration && total > 0 && converted + tolerance < total) {
        return "输入文件提前结束";
    }
    // One broken packet (a torn last sample, say) is skipped as players do; more, and at least
    // one in a hundred, is damage worth telling.
    if (damaged > 1 && damaged * 100 >= std::max<int64_t>(1, packets)) {
        return "输入文件有 " + std::to_string(damaged) + " 个损坏的数据包被跳过";
    }
    return {};
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
                       TFileStreamInfo info, TaskControl& control, Callbacks callbacks,
                       OutputNames& names, OutputNames::IsInput isInput)
    : taskIndex_(taskIndex),
      input_(std::move(input)),
      output_(std::move(output)),
      info_(std::move(info)),
      control_(control),
      callbacks_(std::move(callbacks)),
      names_(names),
      isInput_(std::move(isInput)) {}

TranscodeResult Transcoder::run() {
    TranscodeResult result;
    const auto fail = [&](ErrorKind kind, const std::string& message) {
        result.failed = true;
        result.kind = kind;
        result.message = message;
        return result;
    };
    const std::string& inputPath = input_.FileName;
    const std::string& finalPath = output_.FileName;

    const AVIOInterruptCB interrupt{&TaskControl::interruptCallback, &control_};
    std::string openError;
    InputContextPtr in = openInputFile(inputPath, input_.FileFormat, &interrupt, openError);
    if (!in) {
        return fail(ErrorKind::InputUnreadable, openError);
    }
    if (const int status = avformat_find_stream_info(in.get(), nullptr); status < 0) {
        return fail(ErrorKind::InputUnreadable,
                    "无法读取输入文件 " + inputPath + ": " + avErrorText(status));
    }

    OutputPlan plan = makeOutputPlan(output_, info_);
    if (!plan.error.empty()) {
        return fail(ErrorKind::Settings, plan.error);
    }

    // The name is taken now, when the task starts: free on disk, of no other task or run, no
    // input.
    result.outputFile = names_.claim(finalPath, output_.Overwrite, isInput_);
    const std::string claimed = result.outputFile;
    const std::string folder = fs::path(claimed).parent_path().string();
    std::string temporaryError;
    HeldFile temporaryFile = temporaryFileIn(folder, temporaryError);
    const std::string temporary = temporaryFile.path();
    struct Cleanup {
        OutputNames& names;
        std::string named;  // the claim held: the name the output has, or would have
        HeldFile& temporary;
        bool keep = false;
        ~Cleanup() {
            names.release(named);
            if (keep) {
                temporary.close();
            } else {
                temporary.remove();
            }
        }
    } cleanup{names_, result.outputFile, temporaryFile};
    if (temporary.empty()) {
        return fail(ErrorKind::OutputUnwritable,
                    "无法写入输出文件夹 " + folder + ": " + temporaryError);
    }

    OutputContextPtr out;
    {
        AVFormatContext* raw = nullptr;
        if (const int status =
                avformat_alloc_output_context2(&raw, plan.muxer, nullptr, temporary.c_str());
            status < 0) {
            return fail(ErrorKind::Settings, "无法建立输出文件: " + avErrorText(status));
        }
        out.reset(raw);
        out->interrupt_callback = interrupt;
    }

    const int64_t startTime = in->start_time != AV_NOPTS_VALUE ? in->start_time : 0;
    std::vector<std::unique_ptr<StreamPipeline>> pipelines;
    std::string error;
    if (plan.video) {
        auto pipeline = StreamPipeline::createVideo(in->streams[info_.BestVideo], out.get(),
                                                    *plan.video, startTime, error);
        if (!pipeline) {
            return fail(ErrorKind::Settings, error);
        }
        pipelines.push_back(std::move(pipeline));
    }
    if (plan.audio) {
        auto pipeline = StreamPipeline::createAudio(in->streams[info_.BestAudio], out.get(),
                                                    *plan.audio, startTime, error, plan.notes);
        if (!pipeline) {
            return fail(ErrorKind::Settings, error);
        }
        pipelines.push_back(std::move(pipeline));
    }
    AVStream* audioOutput = plan.audio ? pipelines.back()->outputStream() : nullptr;
    writeTags(fileTags(*in, info_.BestAudio), *out, audioOutput);
    std::optional<CoverArt> cover;
    if (const AVStream* picture = coverStream(*in); picture && audioOutput && !plan.video) {
        std::string note;
        cover.emplace(*picture, *out, *audioOutput, note);
        if (!note.empty()) {
            plan.notes.push_back(note);
        }
    }
    for (const std::string& note : plan.notes) {
        Logger::log(4, "任务 " + std::to_string(taskIndex_ + 1) + ": " + note);
    }

    if (!(out->oformat->flags & AVFMT_NOFILE)) {
        if (const int status =
                avio_open2(&out->pb, temporary.c_str(), AVIO_FLAG_WRITE, &interrupt, nullptr);
            status < 0) {
            return fail(ErrorKind::OutputUnwritable,
                        "无法写入输出文件夹 " + fs::path(finalPath).parent_path().string() + ": " +
                            avErrorText(status));
        }
    }
    AVDictionary* muxerOptions = nullptr;
    if (std::string(out->oformat->name) == "aiff") {
        av_dict_set(&muxerOptions, "write_id3v2", "1", 0);  // its own chunks hold four tags only
    }
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
        return fail(ErrorKind::OutputUnwritable,
                    control_.stopRequested() ? std::string()
                                             : "无法写入输出文件头: " + avErrorText(headerStatus));
    }
    if (cover && !cover->write(error)) {
        return fail(ErrorKind::OutputUnwritable, error);
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
        info.OutputFile = result.outputFile;
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
    std::string readError;
    for (;;) {
        if (!control_.waitWhilePaused()) {
            stopped = true;
            break;
        }
        const int status = av_read_frame(in.get(), packet.get());
        if (status < 0) {
            stopped = control_.stopRequested();
            if (!stopped && status != AVERROR_EOF) {
                readError = avErrorText(status);  // as far as a damaged file can be read
            }
            break;
        }
        for (const auto& pipeline : pipelines) {
            if (pipeline->inputIndex() == packet->stream_index && !pipeline->push(*packet, error)) {
                av_packet_unref(packet.get());
                return fail(ErrorKind::Conversion, error);
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
            return fail(ErrorKind::Conversion, error);
        }
    }
    if (const int status = av_write_trailer(out.get()); status < 0) {
        return fail(ErrorKind::OutputUnwritable, "无法完成输出文件: " + avErrorText(status));
    }
    report();
    int64_t packets = 0, damaged = 0, written = 0;
    for (const auto& pipeline : pipelines) {
        packets += pipeline->packetsRead();
        damaged += pipeline->packetsDamaged();
        written += pipeline->packetsWritten();
        result.converted = std::max(result.converted, pipeline->writtenMicroseconds());
    }
    result.total = info_.Duration;
    if (written == 0) {
        return fail(ErrorKind::InputDamaged,
                    readError.empty() ? "输入文件中没有可以转换的内容"
                                      : "输入文件已损坏，没有可以转换的内容: " + readError);
    }
    if (out->pb && !(out->oformat->flags & AVFMT_NOFILE)) {
        if (const int status = avio_closep(&out->pb); status < 0) {
            return fail(ErrorKind::OutputUnwritable, "无法写完输出文件: " + avErrorText(status));
        }
    }
    std::string commitError;
    const std::string named =
        commitOutput(temporary, claimed, output_.Overwrite, names_, isInput_, commitError);
    if (named.empty()) {
        return fail(ErrorKind::OutputUnwritable, commitError);
    }
    result.outputFile = named;
    cleanup.named = named;
    result.message = shortfall(*in, readError, result.converted, result.total, packets, damaged);
    result.incomplete = !result.message.empty();
    result.kind = result.incomplete ? ErrorKind::InputIncomplete : ErrorKind::None;
    cleanup.keep = true;
    result.finished = true;
    return result;
}

}  // namespace talwyn::media
