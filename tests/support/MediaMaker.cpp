#include "support/MediaMaker.h"

#include "media/AvError.h"
#include "media/AvPtr.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <cmath>
#include <functional>

namespace talwyn::test {
namespace {

using namespace talwyn::media;

struct Track {
    CodecContextPtr encoder;
    AVStream* stream = nullptr;
};

std::string openTrack(AVFormatContext* out, Track& track, AVCodecID id,
                      const std::function<void(AVCodecContext*)>& setup) {
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec) {
        return std::string("no encoder ") + avcodec_get_name(id);
    }
    track.encoder.reset(avcodec_alloc_context3(codec));
    setup(track.encoder.get());
    if (out->oformat->flags & AVFMT_GLOBALHEADER) {
        track.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (const int status = avcodec_open2(track.encoder.get(), codec, nullptr); status < 0) {
        return "cannot open encoder: " + avErrorText(status);
    }
    track.stream = avformat_new_stream(out, nullptr);
    avcodec_parameters_from_context(track.stream->codecpar, track.encoder.get());
    track.stream->time_base = track.encoder->time_base;
    return {};
}

std::string write(AVFormatContext* out, Track& track, AVFrame* frame) {
    if (const int status = avcodec_send_frame(track.encoder.get(), frame); status < 0) {
        return "encode: " + avErrorText(status);
    }
    PacketPtr packet = makePacket();
    while (avcodec_receive_packet(track.encoder.get(), packet.get()) >= 0) {
        av_packet_rescale_ts(packet.get(), track.encoder->time_base, track.stream->time_base);
        packet->stream_index = track.stream->index;
        if (const int status = av_interleaved_write_frame(out, packet.get()); status < 0) {
            return "write: " + avErrorText(status);
        }
    }
    return {};
}

}  // namespace

std::string makeMedia(const std::string& path, const MediaSpec& spec) {
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, nullptr, path.c_str()) < 0) {
        return "no muxer for " + path;
    }
    OutputContextPtr out(raw);
    Track video, audio;
    std::string error;
    if (spec.video) {
        error = openTrack(out.get(), video, AV_CODEC_ID_MPEG4, [&](AVCodecContext* c) {
            c->width = spec.width;
            c->height = spec.height;
            c->pix_fmt = AV_PIX_FMT_YUV420P;
            c->time_base = {1, spec.fps};
            c->framerate = {spec.fps, 1};
            c->gop_size = spec.fps;
            c->bit_rate = 400000;
        });
    }
    if (error.empty() && spec.audio) {
        error = openTrack(out.get(), audio, AV_CODEC_ID_PCM_S16LE, [&](AVCodecContext* c) {
            c->sample_rate = spec.sampleRate;
            av_channel_layout_default(&c->ch_layout, spec.channels);
            c->sample_fmt = AV_SAMPLE_FMT_S16;
            c->time_base = {1, spec.sampleRate};
        });
    }
    if (!error.empty()) {
        return error;
    }
    av_dict_set(&out->metadata, "title", "测试音轨", 0);
    if (avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(out.get(), nullptr) < 0) {
        return "cannot write " + path;
    }

    const int frames = spec.video ? int(std::lround(spec.seconds * spec.fps)) : 0;
    const int64_t samples = spec.audio ? int64_t(std::llround(spec.seconds * spec.sampleRate)) : 0;
    int frameIndex = 0;
    int64_t sampleIndex = 0;
    FramePtr picture = makeFrame();
    FramePtr sound = makeFrame();
    // Pictures and sound are written in time order so the file interleaves well.
    while (frameIndex < frames || sampleIndex < samples) {
        const double pictureTime = frameIndex < frames ? double(frameIndex) / spec.fps : 1e9;
        const double soundTime =
            sampleIndex < samples ? double(sampleIndex) / spec.sampleRate : 1e9;
        if (pictureTime <= soundTime) {
            picture->format = AV_PIX_FMT_YUV420P;
            picture->width = spec.width;
            picture->height = spec.height;
            av_frame_get_buffer(picture.get(), 0);
            for (int y = 0; y < spec.height; ++y) {
                for (int x = 0; x < spec.width; ++x) {
                    picture->data[0][y * picture->linesize[0] + x] =
                        uint8_t((x + y + frameIndex * 4) % 256);
                }
            }
            for (int y = 0; y < spec.height / 2; ++y) {
                for (int x = 0; x < spec.width / 2; ++x) {
                    picture->data[1][y * picture->linesize[1] + x] = uint8_t(128 + y % 64);
                    picture->data[2][y * picture->linesize[2] + x] =
                        uint8_t(64 + (x + frameIndex) % 128);
                }
            }
            picture->pts = frameIndex++;
            error = write(out.get(), video, picture.get());
            av_frame_unref(picture.get());
        } else {
            const int count = int(std::min<int64_t>(1024, samples - sampleIndex));
            sound->format = AV_SAMPLE_FMT_S16;
            sound->sample_rate = spec.sampleRate;
            av_channel_layout_default(&sound->ch_layout, spec.channels);
            sound->nb_samples = count;
            av_frame_get_buffer(sound.get(), 0);
            auto* data = reinterpret_cast<int16_t*>(sound->data[0]);
            for (int i = 0; i < count; ++i) {
                const double t = double(sampleIndex + i) / spec.sampleRate;
                const auto value = int16_t(8000 * std::sin(2 * M_PI * 440 * t));
                for (int c = 0; c < spec.channels; ++c) {
                    data[i * spec.channels + c] = value;
                }
            }
            sound->pts = sampleIndex;
            sampleIndex += count;
            error = write(out.get(), audio, sound.get());
            av_frame_unref(sound.get());
        }
        if (!error.empty()) {
            return error;
        }
    }
    for (Track* track : {&video, &audio}) {
        if (track->encoder && !(error = write(out.get(), *track, nullptr)).empty()) {
            return error;
        }
    }
    if (av_write_trailer(out.get()) < 0) {
        return "cannot finish " + path;
    }
    return {};
}

}  // namespace talwyn::test
