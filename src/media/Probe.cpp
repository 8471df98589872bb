#include "media/Probe.h"

#include "media/InputFile.h"

#include "media/AvError.h"
#include "media/AvPtr.h"
#include "media/CoverArt.h"
#include "media/FileTags.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <system_error>

namespace talwyn::media {
namespace {

// Demuxers that read pictures or text, not audio or video.
bool isStillOrTextFormat(const std::string& name) {
    static const std::set<std::string> refused = {"tty", "image2", "image2pipe"};
    return refused.count(name) ||
           (name.size() > 5 && name.compare(name.size() - 5, 5, "_pipe") == 0);
}

bool isUsable(const AVStream* stream) {
    const AVCodecParameters* p = stream->codecpar;
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) {
        return false;  // cover art
    }
    if (p->codec_type == AVMEDIA_TYPE_VIDEO) {
        return p->codec_id != AV_CODEC_ID_ANSI && p->width > 0 && p->height > 0;
    }
    if (p->codec_type == AVMEDIA_TYPE_AUDIO) {
        return p->sample_rate > 0 && p->ch_layout.nb_channels > 0;
    }
    return false;
}

// Whether the stream's first packets decode to at least one frame.
bool decodes(AVFormatContext* context, int streamIndex) {
    const AVStream* stream = context->streams[streamIndex];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) {
        return false;
    }
    CodecContextPtr codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0 ||
        avcodec_open2(codec.get(), decoder, nullptr) < 0) {
        return false;
    }
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    for (int read = 0; read < 500; ++read) {
        const int status = av_read_frame(context, packet.get());
        if (status < 0) {
            avcodec_send_packet(codec.get(), nullptr);  // drain what is buffered
        } else if (packet->stream_index != streamIndex) {
            av_packet_unref(packet.get());
            continue;
        } else {
            avcodec_send_packet(codec.get(), packet.get());
            av_packet_unref(packet.get());
        }
        if (avcodec_receive_frame(codec.get(), frame.get()) >= 0) {
            return true;
        }
        if (status < 0) {
            return false;
        }
    }
    return false;
}

// The depth of the samples the decoder gives: the stored bits of a 24-bit source, not the 32 it
// is decoded into.
int bitsPerSample(const AVCodecParameters& p) {
    if (p.bits_per_raw_sample > 0) {
        return p.bits_per_raw_sample;
    }
    if (const int coded = av_get_bits_per_sample(p.codec_id); coded > 0) {
        return coded;
    }
    return av_get_bytes_per_sample(AVSampleFormat(p.format)) * 8;
}

bool isFloat(int format) {
    const AVSampleFormat packed = av_get_packed_sample_fmt(AVSampleFormat(format));
    return packed == AV_SAMPLE_FMT_FLT || packed == AV_SAMPLE_FMT_DBL;
}

// A tag's value on one line of a description, long texts (lyrics) cut short.
std::string oneLine(std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\r', ' ');
    constexpr size_t kLongest = 160;
    if (value.size() > kLongest) {
        size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
            --cut;  // not inside a character
        }
        value = value.substr(0, cut) + "…";
    }
    return value;
}

std::string timeText(int64_t microseconds) {
    const int64_t seconds = microseconds / 1000000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", (long long)(seconds / 3600),
                  (long long)(seconds / 60 % 60), (long long)(seconds % 60),
                  (long long)(microseconds / 10000 % 100));
    return text;
}

}  // namespace

bool Probe::LoadFile(const std::string& fileName, const std::string& formatName) {
    fileName_ = fileName;
    info_ = {};
    fileSize_ = 0;
    lastError_.clear();

    std::error_code error;
    const std::filesystem::path path(fileName);
    if (std::filesystem::is_directory(path, error)) {
        lastError_ = "\"" + fileName + "\" 是一个文件夹，不是音频或视频文件";
        return false;
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        // A pipe, socket or device is never opened: reading it could wait for ever.
        lastError_ = std::filesystem::exists(path, error)
                         ? "\"" + fileName + "\" 不是普通文件 (管道、套接字或设备)，已跳过"
                         : "找不到文件 \"" + fileName + "\"";
        return false;
    }
    fileSize_ = int64_t(std::filesystem::file_size(path, error));
    if (fileSize_ == 0) {
        lastError_ = "文件 \"" + fileName + "\" 是空的 (0 字节)";
        return false;
    }

    InputContextPtr context = openInputFile(fileName, formatName, nullptr, lastError_);
    if (!context) {
        return false;
    }
    const std::string demuxer = context->iformat->name;
    if (isStillOrTextFormat(demuxer)) {
        lastError_ = "\"" + fileName + "\" 是图片或文本文件 (" + demuxer + ")，不是音频或视频文件";
        return false;
    }
    if (const int status = avformat_find_stream_info(context.get(), nullptr); status < 0) {
        lastError_ = "无法读取文件 \"" + fileName + "\" 的媒体流: " + avErrorText(status);
        return false;
    }

    if (!Describe(context.get(), fileName)) {
        return false;
    }
    // A header can promise streams that the data does not hold: decode the first frames.
    const int check = info_.BestVideo >= 0 ? info_.BestVideo : info_.BestAudio;
    if (decodes(context.get(), check)) {
        return true;
    }
    // Damaged pictures with sound that plays: the file is its sound (read afresh from the start).
    if (check == info_.BestVideo && info_.BestAudio >= 0) {
        std::string ignored;
        InputContextPtr again = openInputFile(fileName, formatName, nullptr, ignored);
        if (again && avformat_find_stream_info(again.get(), nullptr) >= 0 &&
            decodes(again.get(), info_.BestAudio)) {
            std::erase_if(info_.Streams, [](const StreamSummary& s) { return s.video; });
            info_.BestVideo = -1;
            return true;
        }
    }
    lastError_ = "文件 \"" + fileName + "\" 已损坏或不完整，无法解码其中的音频或视频";
    return false;
}

bool Probe::Describe(AVFormatContext* context, const std::string& fileName) {
    fileName_ = fileName;
    info_ = {};
    std::error_code error;
    fileSize_ = int64_t(std::filesystem::file_size(fileName, error));
    const std::string demuxer = context->iformat->name;
    info_.FormatName = demuxer;
    info_.FormatLongName = context->iformat->long_name ? context->iformat->long_name : demuxer;
    info_.Duration = context->duration > 0 ? context->duration : 0;
    info_.StartTime = context->start_time != AV_NOPTS_VALUE ? context->start_time : 0;
    info_.BitRate = context->bit_rate;

    const int bestVideo = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int bestAudio = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (!isUsable(stream) || !avcodec_find_decoder(stream->codecpar->codec_id)) {
            continue;
        }
        const AVCodecParameters* p = stream->codecpar;
        StreamSummary summary;
        summary.index = int(i);
        summary.video = p->codec_type == AVMEDIA_TYPE_VIDEO;
        summary.codec = avcodec_get_name(p->codec_id);
        for (int shift = 0; shift < 32 && p->codec_tag; shift += 8) {
            const char c = char((p->codec_tag >> shift) & 0xff);
            summary.codecTag += (c >= 32 && c < 127) ? c : '.';
        }
        summary.width = p->width;
        summary.height = p->height;
        const AVRational rate =
            av_guess_frame_rate(context, const_cast<AVStream*>(stream), nullptr);
        summary.frameRate = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
        summary.orientation = orientationOf(*stream);
        summary.sampleRate = p->sample_rate;
        summary.channels = p->ch_layout.nb_channels;
        if (!summary.video) {
            summary.bitsPerSample = bitsPerSample(*p);
            summary.floatSamples = isFloat(p->format);
        }
        summary.bitRate = p->bit_rate;
        info_.Streams.push_back(summary);
        if (summary.video && (info_.BestVideo < 0 || int(i) == bestVideo)) {
            info_.BestVideo = int(i);
        }
        if (!summary.video && (info_.BestAudio < 0 || int(i) == bestAudio)) {
            info_.BestAudio = int(i);
        }
    }
    if (info_.Streams.empty()) {
        lastError_ = "文件 \"" + fileName + "\" 中没有可以解码的音频或视频";
        return false;
    }
    info_.Tags = fileTags(*context, info_.BestAudio);
    if (const AVStream* cover = coverStream(*context)) {
        info_.Cover.index = cover->index;
        info_.Cover.codec = avcodec_get_name(cover->codecpar->codec_id);
        info_.Cover.width = cover->codecpar->width;
        info_.Cover.height = cover->codecpar->height;
        info_.Cover.bytes = cover->attached_pic.size;
    }
    return true;
}

std::string Probe::FileInfoText() const {
    std::ostringstream text;
    text << "文件: " << fileName_ << "\n";
    text << "格式: " << info_.FormatLongName << " (" << info_.FormatName << ")\n";
    text << "时长: " << (info_.Duration > 0 ? timeText(info_.Duration) : std::string("N/A"))
         << ", 比特率: "
         << (info_.BitRate > 0 ? std::to_string(info_.BitRate / 1000) + " kb/s" : "N/A")
         << ", 大小: " << fileSize_ << " 字节\n";
    for (const StreamSummary& s : info_.Streams) {
        text << "流 #" << s.index << ": ";
        if (s.video) {
            char rate[32];
            std::snprintf(rate, sizeof rate, "%.3g", s.frameRate);
            text << "视频 " << s.codec << ", " << s.width << "x" << s.height << ", " << rate
                 << " fps";
            if (!s.orientation.upright()) {
                text << ", 显示时" << s.orientation.text() << " (" << s.uprightWidth() << "x"
                     << s.uprightHeight() << ")";
            }
        } else {
            text << "音频 " << s.codec << ", " << s.sampleRate << " Hz, " << s.channels << " 声道";
            if (s.bitsPerSample > 0) {
                text << ", " << s.bitsPerSample << " 位" << (s.floatSamples ? "浮点" : "");
            }
        }
        if (s.bitRate > 0) {
            text << ", " << s.bitRate / 1000 << " kb/s";
        }
        text << "\n";
    }
    if (info_.Cover.index >= 0) {
        text << "封面: 流 #" << info_.Cover.index << ", " << info_.Cover.codec << ", "
             << info_.Cover.width << "x" << info_.Cover.height << ", " << info_.Cover.bytes
             << " 字节\n";
    }
    for (const auto& [key, value] : info_.Tags) {
        text << "标签 " << key << ": " << oneLine(value) << "\n";
    }
    return text.str();
}

}  // namespace talwyn::media
