#pragma once

#include "media/AvPtr.h"

#include <functional>
#include <string>

// Decodes a file's best stream of one kind, frame by frame, as a player would.

namespace talwyn::test {

// Calls `each` with every decoded frame until it returns false; false when the file or its
// stream cannot be read.
inline bool decodeFrames(const std::string& path, AVMediaType type,
                         const std::function<bool(const AVFrame&)>& each) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
        return false;
    }
    media::InputContextPtr input(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) {
        return false;
    }
    const int index = av_find_best_stream(raw, type, -1, -1, nullptr, 0);
    if (index < 0) {
        return false;
    }
    const AVStream* stream = raw->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    media::CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return false;
    }
    media::PacketPtr packet = media::makePacket();
    media::FramePtr frame = media::makeFrame();
    bool more = true;
    const auto drain = [&] {
        while (more && avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            more = each(*frame);
            av_frame_unref(frame.get());
        }
    };
    while (more && av_read_frame(raw, packet.get()) >= 0) {
        if (packet->stream_index == index) {
            avcodec_send_packet(decoder.get(), packet.get());
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return true;
}

}  // namespace talwyn::test
