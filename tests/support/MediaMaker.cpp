#include "support/MediaMaker.h"

#include "media/AvError.h"
#include "media/AvPtr.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
}

#include <cmath>
#include <cstring>
#include <filesystem>
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

AVCodecID audioCodecFor(const std::string& path, const MediaSpec& spec) {
    const std::string extension = std::filesystem::path(path).extension().string();
    if (extension == ".mp3") {
        return AV_CODEC_ID_MP3;
    }
    if (extension == ".flac") {
        return AV_CODEC_ID_FLAC;
    }
    if (spec.floatSamples) {
        return AV_CODEC_ID_PCM_F32LE;
    }
    return spec.bits == 24   ? AV_CODEC_ID_PCM_S24LE
           : spec.bits == 32 ? AV_CODEC_ID_PCM_S32LE
                             : AV_CODEC_ID_PCM_S16LE;
}

// The encoder's format nearest to the asked depth.
AVSampleFormat sampleFormatFor(const AVCodec* codec, const MediaSpec& spec) {
    const AVSampleFormat wanted = spec.floatSamples ? AV_SAMPLE_FMT_FLT
                                  : spec.bits > 16  ? AV_SAMPLE_FMT_S32
                                                    : AV_SAMPLE_FMT_S16;
    AVSampleFormat chosen = codec->sample_fmts[0];
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (av_get_packed_sample_fmt(*f) == wanted) {
            chosen = *f;
        }
    }
    return chosen;
}

// One sample of a tone that uses every bit of the depth (the low bits are not zero).
void putSample(AVFrame* frame, int channel, int index, double value, int bits) {
    const auto format = AVSampleFormat(frame->format);
    const bool planar = av_sample_fmt_is_planar(format);
    const int slot = planar ? index : index * frame->ch_layout.nb_channels + channel;
    uint8_t* data = frame->extended_data[planar ? channel : 0];
    switch (av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_S16:
            reinterpret_cast<int16_t*>(data)[slot] = int16_t(std::lround(value * 32000));
            break;
        case AV_SAMPLE_FMT_S32: {
            const int64_t top = (int64_t(1) << (bits - 1)) - 1;
            const int64_t sample = std::llround(value * top * 0.9) + (index % 7) - 3;
            reinterpret_cast<int32_t*>(data)[slot] = int32_t(sample << (32 - bits));
            break;
        }
        default:
            reinterpret_cast<float*>(data)[slot] = float(value * 0.9 + (index % 7) * 1e-7);
            break;
    }
}

// A small JPEG picture as the file's cover, written right after the header.
std::string addCover(AVFormatContext* out, const MediaSpec& spec, PacketPtr& cover, int& index) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    CodecContextPtr encoder(avcodec_alloc_context3(codec));
    encoder->width = spec.coverWidth;
    encoder->height = spec.coverHeight;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->time_base = {1, 25};
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0) {
        return "cannot open the JPEG encoder";
    }
    FramePtr picture = makeFrame();
    picture->format = encoder->pix_fmt;
    picture->width = spec.coverWidth;
    picture->height = spec.coverHeight;
    av_frame_get_buffer(picture.get(), 0);
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane ? (spec.coverHeight + 1) / 2 : spec.coverHeight;
        std::memset(picture->data[plane], plane ? 90 : 200,
                    size_t(picture->linesize[plane]) * rows);
    }
    cover = makePacket();
    if (avcodec_send_frame(encoder.get(), picture.get()) < 0 ||
        avcodec_receive_packet(encoder.get(), cover.get()) < 0) {
        return "cannot encode the cover";
    }
    AVStream* stream = avformat_new_stream(out, nullptr);
    avcodec_parameters_from_context(stream->codecpar, encoder.get());
    stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
    stream->time_base = {1, 90000};
    index = stream->index;
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
        if (error.empty() && (spec.displayTurn != 0 || spec.displayMirror)) {
            auto* matrix = reinterpret_cast<int32_t*>(av_stream_new_side_data(
                video.stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
            // As phones write it: an angle of 90 here is shown turned clockwise (players report
            // it as -90). The flip acts on the shown picture: mirroring the decoded picture
            // before turning it is turning it the other way, then mirroring.
            av_display_rotation_set(matrix,
                                    spec.displayMirror ? -spec.displayTurn : spec.displayTurn);
            if (spec.displayMirror) {
                av_display_matrix_flip(matrix, 1, 0);
            }
        }
    }
    if (error.empty() && spec.audio) {
        const AVCodecID id = audioCodecFor(path, spec);
        error = openTrack(out.get(), audio, id, [&](AVCodecContext* c) {
            c->sample_rate = spec.sampleRate;
            av_channel_layout_default(&c->ch_layout, spec.channels);
            c->sample_fmt = sampleFormatFor(c->codec, spec);
            c->time_base = {1, spec.sampleRate};
            if (id == AV_CODEC_ID_FLAC) {
                c->bits_per_raw_sample = spec.bits > 16 ? 24 : 16;
            }
            if (id == AV_CODEC_ID_MP3) {
                c->bit_rate = 128000;
            }
        });
    }
    PacketPtr cover;
    int coverIndex = -1;
    if (error.empty() && spec.coverWidth > 0) {
        error = addCover(out.get(), spec, cover, coverIndex);
    }
    if (!error.empty()) {
        return error;
    }
    for (const auto& [key, value] : spec.tags) {
        av_dict_set(&out->metadata, key.c_str(), value.c_str(), 0);
    }
    if (avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(out.get(), nullptr) < 0) {
        return "cannot write " + path;
    }
    if (cover) {
        cover->stream_index = coverIndex;
        cover->pts = cover->dts = 0;
        cover->flags |= AV_PKT_FLAG_KEY;
        if (av_interleaved_write_frame(out.get(), cover.get()) < 0) {
            return "cannot write the cover of " + path;
        }
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
                    const bool mark = x < spec.width / 4 && y < spec.height / 4;
                    picture->data[0][y * picture->linesize[0] + x] =
                        spec.cornerMark ? (mark ? 235 : 80)
                                        : uint8_t((x + y + frameIndex * 4) % 256);
                }
            }
            for (int y = 0; y < spec.height / 2; ++y) {
                for (int x = 0; x < spec.width / 2; ++x) {
                    picture->data[1][y * picture->linesize[1] + x] =
                        spec.cornerMark ? 128 : uint8_t(128 + y % 64);
                    picture->data[2][y * picture->linesize[2] + x] =
                        spec.cornerMark ? 128 : uint8_t(64 + (x + frameIndex) % 128);
                }
            }
            picture->pts = frameIndex++;
            error = write(out.get(), video, picture.get());
            av_frame_unref(picture.get());
        } else {
            const int frameSize = audio.encoder->frame_size > 0 ? audio.encoder->frame_size : 1024;
            const int count = int(std::min<int64_t>(frameSize, samples - sampleIndex));
            sound->format = audio.encoder->sample_fmt;
            sound->sample_rate = spec.sampleRate;
            av_channel_layout_default(&sound->ch_layout, spec.channels);
            sound->nb_samples = count;
            av_frame_get_buffer(sound.get(), 0);
            for (int i = 0; i < count; ++i) {
                const double t = double(sampleIndex + i) / spec.sampleRate;
                const double value = 0.25 * std::sin(2 * M_PI * 440 * t);
                for (int c = 0; c < spec.channels; ++c) {
                    putSample(sound.get(), c, i, value, spec.bits);
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
