#include "media/GifWriter.h"

#include "media/AvError.h"
#include "media/AvPtr.h"

#include <cstring>

namespace talwyn::media {

std::string WriteGif(const std::string& path, int width, int height, const uint8_t* indexes,
                     int stride, const uint32_t* palette) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_GIF);
    if (!codec) {
        return "FFmpeg 库中没有 GIF 编码器";
    }
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "gif", path.c_str()) < 0) {
        return "无法建立 GIF 文件";
    }
    OutputContextPtr out(raw);
    CodecContextPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder) {
        return "内存不足，无法建立 GIF 编码器";
    }
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_PAL8;
    encoder->time_base = {1, 25};
    if (const int status = avcodec_open2(encoder.get(), codec, nullptr); status < 0) {
        return "无法打开 GIF 编码器: " + avErrorText(status);
    }
    AVStream* stream = avformat_new_stream(out.get(), nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, encoder.get()) < 0) {
        return "无法在 GIF 文件中建立画面";
    }
    stream->time_base = encoder->time_base;
    if (const int status = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE); status < 0) {
        return "无法写入 " + path + ": " + avErrorText(status);
    }
    if (const int status = avformat_write_header(out.get(), nullptr); status < 0) {
        return "无法写入 GIF 文件头: " + avErrorText(status);
    }
    FramePtr frame = makeFrame();
    frame->format = AV_PIX_FMT_PAL8;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) {
        return "内存不足，无法保存 GIF 画面";
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(frame->data[0] + y * frame->linesize[0], indexes + y * stride, size_t(width));
    }
    std::memcpy(frame->data[1], palette, 256 * 4);
    frame->pts = 0;
    PacketPtr packet = makePacket();
    for (AVFrame* input : {frame.get(), static_cast<AVFrame*>(nullptr)}) {
        if (avcodec_send_frame(encoder.get(), input) < 0) {
            return "GIF 编码失败";
        }
        while (avcodec_receive_packet(encoder.get(), packet.get()) >= 0) {
            packet->stream_index = stream->index;
            av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
            if (av_interleaved_write_frame(out.get(), packet.get()) < 0) {
                return "无法写入 " + path;
            }
        }
    }
    if (av_write_trailer(out.get()) < 0) {
        return "无法写完 " + path;
    }
    return {};
}

}  // namespace talwyn::media
