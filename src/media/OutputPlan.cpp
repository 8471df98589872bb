#include "media/OutputPlan.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace talwyn::media {
namespace {

struct TargetSettings {
    const char* muxer;
    AVCodecID video, audio;
    int width, height;
    AVRational rate;
    int64_t videoBitRate, maxRate, minRate;
    int bufferSize, gop;
    int sampleRate;
    int64_t audioBitRate;
    int packetSize, muxRate;
    double preload;
};

// The standard settings of the disc formats, for PAL and for NTSC.
TargetSettings targetSettings(TOptionTargetType target, bool ntsc) {
    const AVRational rate = ntsc ? AVRational{30000, 1001} : AVRational{25, 1};
    const int gop = ntsc ? 18 : 15;
    switch (target) {
        case TOptionTargetType::ttVCD:
            return {"vcd",
                    AV_CODEC_ID_MPEG1VIDEO,
                    AV_CODEC_ID_MP2,
                    352,
                    ntsc ? 240 : 288,
                    rate,
                    1150000,
                    1150000,
                    1150000,
                    40 * 1024 * 8,
                    gop,
                    44100,
                    224000,
                    2324,
                    2 * 75 * 2352,
                    0.44};
        case TOptionTargetType::ttSVCD:
            return {"svcd",
                    AV_CODEC_ID_MPEG2VIDEO,
                    AV_CODEC_ID_MP2,
                    480,
                    ntsc ? 480 : 576,
                    rate,
                    2040000,
                    2516000,
                    0,
                    224 * 1024 * 8,
                    gop,
                    44100,
                    224000,
                    2324,
                    0,
                    -1};
        default:
            return {"dvd",
                    AV_CODEC_ID_MPEG2VIDEO,
                    AV_CODEC_ID_AC3,
                    720,
                    ntsc ? 480 : 576,
                    rate,
                    6000000,
                    9000000,
                    0,
                    224 * 1024 * 8,
                    gop,
                    48000,
                    448000,
                    2048,
                    10080 * 1000,
                    -1};
    }
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

template <typename T>
T nearest(const std::vector<T>& values, T wanted) {
    return *std::min_element(values.begin(), values.end(), [wanted](T a, T b) {
        return std::llabs(int64_t(a) - int64_t(wanted)) < std::llabs(int64_t(b) - int64_t(wanted));
    });
}

// The sample rates the encoder, and for some containers the muxer, accept; empty: any.
std::vector<int> allowedSampleRates(const AVCodec* encoder, const AVOutputFormat* muxer) {
    std::vector<int> rates;
    if (encoder->supported_samplerates) {
        for (const int* rate = encoder->supported_samplerates; *rate; ++rate) {
            rates.push_back(*rate);
        }
    }
    const std::string name = muxer->name;
    if ((name == "flv" || name == "swf") && encoder->id == AV_CODEC_ID_MP3) {
        std::vector<int> flash = {11025, 22050, 44100};
        if (!rates.empty()) {
            std::erase_if(flash, [&](int r) {
                return std::find(rates.begin(), rates.end(), r) == rates.end();
            });
        }
        rates = flash;
    }
    if (encoder->id == AV_CODEC_ID_MP3 && rates.empty()) {
        rates = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    }
    return rates;
}

int64_t fitAudioBitRate(AVCodecID codec, int sampleRate, int64_t wanted) {
    std::vector<int64_t> allowed;
    if (codec == AV_CODEC_ID_AC3) {
        allowed = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                   192, 224, 256, 320, 384, 448, 512, 576, 640};
    } else if (codec == AV_CODEC_ID_MP2) {
        allowed = sampleRate >= 32000 ? std::vector<int64_t>{32,  48,  56,  64,  80,  96,  112,
                                                             128, 160, 192, 224, 256, 320, 384}
                                      : std::vector<int64_t>{8,  16, 24, 32,  40,  48,  56,
                                                             64, 80, 96, 112, 128, 144, 160};
    } else if (codec == AV_CODEC_ID_MP3) {
        // The rates of MPEG-1, MPEG-2 and MPEG-2.5 Layer III, by sample rate.
        allowed = sampleRate >= 32000   ? std::vector<int64_t>{32,  40,  48,  56,  64,  80,  96,
                                                               112, 128, 160, 192, 224, 256, 320}
                  : sampleRate >= 16000 ? std::vector<int64_t>{8,  16, 24, 32,  40,  48,  56,
                                                               64, 80, 96, 112, 128, 144, 160}
                                        : std::vector<int64_t>{8, 16, 24, 32, 40, 48, 56, 64};
    } else if (codec == AV_CODEC_ID_AMR_NB) {
        return nearest<int64_t>({4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200}, wanted);
    } else {
        return wanted;
    }
    for (int64_t& rate : allowed) {
        rate *= 1000;
    }
    return nearest(allowed, wanted);
}

bool isLossless(const AVCodec* encoder) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(encoder->id);
    return descriptor && (descriptor->props & AV_CODEC_PROP_LOSSLESS) &&
           !(descriptor->props & AV_CODEC_PROP_LOSSY);
}

const StreamSummary* streamOf(const TFileStreamInfo& input, int index) {
    for (const StreamSummary& s : input.Streams) {
        if (s.index == index) {
            return &s;
        }
    }
    return nullptr;
}

// The encoder by its name, or the container's own for that kind of stream; nothing (with an
// error when a name was given or the container refuses it) when there is none to use.
const AVCodec* chooseEncoder(const std::string& name, AVCodecID fallback,
                             const AVOutputFormat* muxer, const char* kind, OutputPlan& plan) {
    const AVCodec* encoder = nullptr;
    if (!name.empty()) {
        encoder = avcodec_find_encoder_by_name(encoderName(name).c_str());
        if (!encoder) {
            plan.error = std::string("找不到") + kind + "编码器 \"" + name + "\"";
        }
    } else if (fallback != AV_CODEC_ID_NONE) {
        encoder = avcodec_find_encoder(fallback);
    }
    if (encoder && avformat_query_codec(muxer, encoder->id, FF_COMPLIANCE_NORMAL) == 0) {
        plan.error =
            std::string("输出格式 ") + muxer->name + " 不支持" + kind + "编码 " + encoder->name;
        return nullptr;
    }
    return encoder;
}

// PCM of the source's depth in the byte order of the chosen PCM codec; FLAC at 24 bits for
// anything deeper than 16 (it stores no floating point).
void keepSourceDepth(const StreamSummary& source, const AVOutputFormat* muxer, AudioPlan& audio,
                     OutputPlan& plan) {
    const int bits = source.bitsPerSample > 0 ? source.bitsPerSample : 16;
    if (audio.encoder->id == AV_CODEC_ID_FLAC) {
        if (bits > 16 || source.floatSamples) {
            audio.sampleFormat = AV_SAMPLE_FMT_S32;
            audio.bitsPerSample = 24;
            if (bits > 24 || source.floatSamples) {
                plan.notes.push_back("FLAC 最多保存 24 位，源文件的 " + std::to_string(bits) +
                                     " 位" + (source.floatSamples ? "浮点" : "") +
                                     "采样以 24 位保存");
            }
        }
        return;
    }
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(audio.encoder->id);
    const std::string name = descriptor ? descriptor->name : "";
    if (name.rfind("pcm_", 0) != 0) {
        return;  // a lossy codec has no depth to keep
    }
    const bool bigEndian = name.size() > 2 && name.compare(name.size() - 2, 2, "be") == 0;
    std::string wanted = source.floatSamples ? "pcm_f32"
                         : bits > 24         ? "pcm_s32"
                         : bits > 16         ? "pcm_s24"
                                             : "pcm_s16";
    wanted += bigEndian ? "be" : "le";
    const AVCodec* encoder = avcodec_find_encoder_by_name(wanted.c_str());
    if (encoder && avformat_query_codec(muxer, encoder->id, FF_COMPLIANCE_NORMAL) != 0) {
        audio.encoder = encoder;
        audio.sampleFormat = encoder->sample_fmts[0];
    } else if (source.floatSamples) {
        // A container without floating point keeps the most of it as 24-bit integers.
        const AVCodec* deep = avcodec_find_encoder_by_name(bigEndian ? "pcm_s24be" : "pcm_s24le");
        if (deep && avformat_query_codec(muxer, deep->id, FF_COMPLIANCE_NORMAL) != 0) {
            audio.encoder = deep;
            audio.sampleFormat = deep->sample_fmts[0];
        }
    }
}

std::optional<AudioPlan> planAudio(const TOutputOptions& o, const TFileStreamInfo& input,
                                   const AVOutputFormat* muxer, const TargetSettings* target,
                                   OutputPlan& plan) {
    const StreamSummary* source = streamOf(input, input.BestAudio);
    if (!source || o.DisableAudio) {
        return std::nullopt;
    }
    const AVCodec* encoder =
        chooseEncoder(target ? std::string() : o.AudioCodec,
                      target ? target->audio : muxer->audio_codec, muxer, "音频", plan);
    if (!encoder) {
        return std::nullopt;
    }
    AudioPlan audio;
    audio.encoder = encoder;

    int rate = target ? target->sampleRate
                      : (o.AudioSampleRate > 0 ? o.AudioSampleRate : source->sampleRate);
    if (const auto allowed = allowedSampleRates(encoder, muxer); !allowed.empty()) {
        const int fitted = nearest(allowed, rate);
        if (fitted != rate) {
            plan.notes.push_back("输出格式不支持采样率 " + std::to_string(rate) + " Hz，改用 " +
                                 std::to_string(fitted) + " Hz");
        }
        rate = fitted;
    }
    audio.sampleRate = rate;

    int channels = o.AudioChannels > 0 ? o.AudioChannels : std::min(source->channels, 2);
    if (encoder->ch_layouts) {
        int best = 0;
        for (const AVChannelLayout* layout = encoder->ch_layouts; layout->nb_channels; ++layout) {
            if (best == 0 || std::abs(layout->nb_channels - channels) < std::abs(best - channels)) {
                best = layout->nb_channels;
            }
        }
        if (best != channels) {
            plan.notes.push_back("输出格式不支持 " + std::to_string(channels) + " 声道，改用 " +
                                 std::to_string(best) + " 声道");
        }
        channels = best;
    }
    if (encoder->id == AV_CODEC_ID_MP2 || encoder->id == AV_CODEC_ID_WMAV2 ||
        encoder->id == AV_CODEC_ID_MP3) {
        channels = std::min(channels, 2);
    }
    audio.channels = channels;

    audio.sampleFormat = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    if (encoder->sample_fmts) {
        for (const AVSampleFormat* f = encoder->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
            if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P) {
                audio.sampleFormat = *f;  // enough for every source this program meets
                break;
            }
            if (*f == AV_SAMPLE_FMT_FLTP) {
                audio.sampleFormat = *f;
            }
        }
    }

    if (o.KeepSourceQuality) {
        keepSourceDepth(*source, muxer, audio, plan);
    }
    audio.lossless = isLossless(audio.encoder);
    const int64_t wanted = target ? target->audioBitRate : o.AudioBitrate;
    if (wanted > 0 && !audio.lossless) {
        audio.bitRate = fitAudioBitRate(encoder->id, rate, wanted);
        if (audio.bitRate != wanted) {
            plan.notes.push_back("输出格式不支持音频比特率 " + std::to_string(wanted / 1000) +
                                 " kbps，改用 " +
                                 std::to_string(audio.bitRate / 1000.0).substr(0, 6) + " kbps");
        }
    }
    if (o.AudioVolume > 0 && o.AudioVolume != 256) {
        audio.volume = o.AudioVolume / 256.0;
    }
    return audio;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const auto star = text.find('*');
    if (star == std::string::npos) {
        return false;
    }
    width = std::atoi(text.substr(0, star).c_str());
    height = std::atoi(text.substr(star + 1).c_str());
    return width > 0 && height > 0;
}

std::optional<VideoPlan> planVideo(const TOutputOptions& o, const TFileStreamInfo& input,
                                   const AVOutputFormat* muxer, const TargetSettings* target,
                                   bool ntsc, OutputPlan& plan) {
    const StreamSummary* source = streamOf(input, input.BestVideo);
    if (!source || o.DisableVideo) {
        return std::nullopt;
    }
    const AVCodec* encoder =
        chooseEncoder(target ? std::string() : o.VideoCodec,
                      target ? target->video : muxer->video_codec, muxer, "视频", plan);
    if (!encoder) {
        return std::nullopt;
    }
    VideoPlan video;
    video.encoder = encoder;

    // Sizes are those of the upright picture: a phone's portrait clip stays portrait.
    video.orientation = source->orientation;
    const int sourceWidth = source->uprightWidth(), sourceHeight = source->uprightHeight();
    int width = sourceWidth, height = sourceHeight;
    if (target) {
        width = target->width;
        height = target->height;
    } else if (!o.FrameSize.empty() && !parseSize(o.FrameSize, width, height)) {
        plan.notes.push_back("无法识别画面大小 \"" + o.FrameSize + "\"，保持原画面大小");
    }
    if (encoder->id == AV_CODEC_ID_H263) {
        // H.263 knows five picture sizes only.
        static const std::pair<int, int> sizes[] = {
            {128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
        const auto best =
            *std::min_element(std::begin(sizes), std::end(sizes), [&](auto a, auto b) {
                return std::abs(a.first * a.second - width * height) <
                       std::abs(b.first * b.second - width * height);
            });
        if (best.first != width || best.second != height) {
            plan.notes.push_back("H.263 不支持画面大小 " + std::to_string(width) + "x" +
                                 std::to_string(height) + "，改用 " + std::to_string(best.first) +
                                 "x" + std::to_string(best.second));
        }
        width = best.first;
        height = best.second;
    }
    // A chosen size names the long side first. A portrait picture gets it the other way round
    // ("320*240" gives 240x320), unless a standard fixes the frame: then it is centred on black.
    // A fixed frame (shown at 4:3 unless an aspect is asked for, whatever its pixels) takes a
    // portrait picture between bars; so does any frame whose aspect would make it landscape.
    const bool fixedFrame = target || encoder->id == AV_CODEC_ID_H263;
    const bool portrait = sourceHeight > sourceWidth;
    const bool turnedFrame = portrait && !fixedFrame && width > height;
    const bool turnedAspect = portrait && !fixedFrame;
    if (turnedFrame) {
        std::swap(width, height);
        plan.notes.push_back("竖屏画面: 画面大小 " + std::to_string(height) + "*" +
                             std::to_string(width) + " 按竖向 " + std::to_string(width) + "x" +
                             std::to_string(height) + " 输出");
    }
    const int align = (encoder->id == AV_CODEC_ID_RV10 || encoder->id == AV_CODEC_ID_RV20) ? 16 : 2;
    video.width = std::max(align, width / align * align);
    video.height = std::max(align, height / align * align);

    AVRational rate{0, 1};
    if (target) {
        rate = target->rate;
    } else if (!o.FrameRate.empty() && av_parse_video_rate(&rate, o.FrameRate.c_str()) < 0) {
        plan.notes.push_back("无法识别帧率 \"" + o.FrameRate + "\"，保持原帧率");
        rate = {0, 1};
    }
    if (rate.num <= 0 || rate.den <= 0) {
        rate = source->frameRate > 0 ? av_d2q(source->frameRate, 100000) : AVRational{25, 1};
    }
    // MPEG-1 and MPEG-2 list a few rates beyond the standard that they then refuse.
    static const AVRational mpegRates[] = {{24000, 1001}, {24, 1}, {25, 1},
                                           {30000, 1001}, {30, 1}, {50, 1},
                                           {60000, 1001}, {60, 1}, {0, 0}};
    const bool mpeg =
        encoder->id == AV_CODEC_ID_MPEG1VIDEO || encoder->id == AV_CODEC_ID_MPEG2VIDEO;
    const AVRational* allowedRates = mpeg ? mpegRates : encoder->supported_framerates;
    if (allowedRates) {
        const AVRational fitted = allowedRates[av_find_nearest_q_idx(rate, allowedRates)];
        if (av_cmp_q(fitted, rate) != 0) {
            plan.notes.push_back("视频编码器 " + std::string(encoder->name) + " 不支持帧率 " +
                                 std::to_string(av_q2d(rate)).substr(0, 6) + "，改用 " +
                                 std::to_string(av_q2d(fitted)).substr(0, 6));
        }
        rate = fitted;
    }
    if (encoder->id == AV_CODEC_ID_MPEG4 || encoder->id == AV_CODEC_ID_H263 ||
        encoder->id == AV_CODEC_ID_FLV1) {
        rate = av_d2q(av_q2d(rate), 65535);  // these store the time base in 16 bits
    }
    video.frameRate = rate;
    (void)ntsc;

    if (!o.FrameAspectRatio.empty()) {
        AVRational aspect{0, 1};
        if (av_parse_ratio(&aspect, o.FrameAspectRatio.c_str(), 1000, 0, nullptr) >= 0 &&
            aspect.num > 0 && aspect.den > 0) {
            // "4:3" or "16:9" names the long side first, as the sizes do.
            video.displayAspect =
                turnedAspect && av_cmp_q(aspect, {1, 1}) > 0 ? av_inv_q(aspect) : aspect;
        }
    }
    if (portrait && fixedFrame) {
        // The frame is shown at its standard shape; the picture keeps its own inside it.
        if (video.displayAspect.num <= 0) {
            video.displayAspect = {4, 3};
        }
        const double pictureShape = double(sourceWidth) / sourceHeight;
        const double frameShape = av_q2d(video.displayAspect);
        video.pictureWidth =
            std::clamp(int(video.width * pictureShape / frameShape + 0.5) & ~1, 2, video.width);
        video.pictureHeight = video.height;
        plan.notes.push_back("竖屏画面: 该格式的画面大小固定为 " + std::to_string(video.width) +
                             "x" + std::to_string(video.height) + "，画面居中，两侧为黑边");
    }

    video.pixelFormat = encoder->pix_fmts ? encoder->pix_fmts[0] : AV_PIX_FMT_YUV420P;
    if (encoder->pix_fmts) {
        for (const AVPixelFormat* f = encoder->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
            if (*f == AV_PIX_FMT_YUV420P) {
                video.pixelFormat = *f;
            }
        }
    }

    if (target) {
        video.bitRate = target->videoBitRate;
        video.maxRate = target->maxRate;
        video.minRate = target->minRate;
        video.bufferSize = target->bufferSize;
        video.gopSize = target->gop;
    } else if (o.VideoBitrate > 0) {
        video.bitRate = o.VideoBitrate;
    }
    if (o.GroupPictureSize > 0) {
        video.gopSize = o.GroupPictureSize;
    }
    if (o.VideoTag.size() == 4 && encoder->id != AV_CODEC_ID_H264) {
        video.codecTag = MKTAG(o.VideoTag[0], o.VideoTag[1], o.VideoTag[2], o.VideoTag[3]);
    }
    return video;
}

}  // namespace

std::string encoderName(const std::string& catalogueName) {
    return catalogueName == "libfaac" ? "aac" : catalogueName;
}

const AVOutputFormat* muxerFor(const std::string& extension, const std::string& formatName,
                               TOptionTargetType target) {
    if (!formatName.empty()) {
        return av_guess_format(formatName.c_str(), nullptr, nullptr);
    }
    switch (target) {
        case TOptionTargetType::ttVCD:
            return av_guess_format("vcd", nullptr, nullptr);
        case TOptionTargetType::ttSVCD:
            return av_guess_format("svcd", nullptr, nullptr);
        case TOptionTargetType::ttDVD:
            return av_guess_format("dvd", nullptr, nullptr);
        case TOptionTargetType::ttIgnore:
            break;
    }
    static const std::map<std::string, const char*> byExtension = {
        {".wav", "wav"},   {".mp3", "mp3"},  {".wma", "asf"},   {".wmv", "asf"},
        {".asf", "asf"},   {".aac", "adts"}, {".m4a", "ipod"},  {".ogg", "ogg"},
        {".ra", "rm"},     {".rm", "rm"},    {".ac3", "ac3"},   {".aiff", "aiff"},
        {".aif", "aiff"},  {".mp2", "mp2"},  {".flac", "flac"}, {".amr", "amr"},
        {".flv", "flv"},   {".swf", "swf"},  {".avi", "avi"},   {".mkv", "matroska"},
        {".mov", "mov"},   {".mp4", "mp4"},  {".3gp", "3gp"},   {".mpg", "mpeg"},
        {".mpeg", "mpeg"}, {".m4v", "mp4"},
    };
    const std::string ext = lower(extension);
    if (const auto it = byExtension.find(ext); it != byExtension.end()) {
        return av_guess_format(it->second, nullptr, nullptr);
    }
    return av_guess_format(nullptr, ("output" + ext).c_str(), nullptr);
}

OutputPlan makeOutputPlan(const TOutputOptions& o, const TFileStreamInfo& input) {
    OutputPlan plan;
    const std::string extension =
        !o.FileExt.empty() ? o.FileExt : std::filesystem::path(o.FileName).extension().string();
    plan.muxer = muxerFor(extension, o.FileFormat, o.TargetType);
    if (!plan.muxer) {
        plan.error =
            "不支持的输出格式 \"" + (o.FileFormat.empty() ? extension : o.FileFormat) + "\"";
        return plan;
    }
    const bool disc = o.TargetType != TOptionTargetType::ttIgnore;
    bool ntsc = o.NormType == TOptionNormType::ntNTSC;
    if (o.NormType == TOptionNormType::ntAuto) {
        const StreamSummary* video = streamOf(input, input.BestVideo);
        ntsc = video && std::abs(video->frameRate - 29.97) < 0.1;
    }
    const TargetSettings settings = targetSettings(o.TargetType, ntsc);
    const TargetSettings* target = disc ? &settings : nullptr;

    plan.audio = planAudio(o, input, plan.muxer, target, plan);
    if (!plan.error.empty()) {
        return plan;
    }
    plan.video = planVideo(o, input, plan.muxer, target, ntsc, plan);
    if (!plan.error.empty()) {
        return plan;
    }
    if (!plan.audio && !plan.video) {
        const bool audioOnlyOutput = plan.muxer->video_codec == AV_CODEC_ID_NONE || o.DisableVideo;
        plan.error = audioOnlyOutput ? "输入文件中没有音频，无法转换为只有声音的格式"
                                     : "输入文件中没有可以转换的音频或视频";
        return plan;
    }
    if (target) {
        plan.packetSize = target->packetSize;
        plan.muxRate = target->muxRate;
        plan.muxPreload = target->preload;
    }
    if (o.PacketSize > 0) {
        plan.packetSize = o.PacketSize;
    }
    if (o.MuxRate > 0) {
        plan.muxRate = o.MuxRate;
    }
    return plan;
}

}  // namespace talwyn::media
