#include "media/CoverArt.h"

#include "media/AvError.h"
#include "media/AvPtr.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/base64.h>
}

#include <cstdint>
#include <vector>

namespace talwyn::media {
namespace {

const char* mimeOf(AVCodecID codec) {
    switch (codec) {
        case AV_CODEC_ID_MJPEG:
            return "image/jpeg";
        case AV_CODEC_ID_PNG:
            return "image/png";
        case AV_CODEC_ID_BMP:
            return "image/bmp";
        case AV_CODEC_ID_GIF:
            return "image/gif";
        default:
            return nullptr;
    }
}

void putBigEndian(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(uint8_t(value >> shift));
    }
}

// A FLAC picture block (front cover), as Vorbis comments carry it in base 64.
std::string pictureBlock(const AVStream& cover, const char* mime) {
    const AVPacket& picture = cover.attached_pic;
    std::vector<uint8_t> block;
    putBigEndian(block, 3);
    const std::string type = mime;
    putBigEndian(block, uint32_t(type.size()));
    block.insert(block.end(), type.begin(), type.end());
    putBigEndian(block, 0);  // no description
    putBigEndian(block, uint32_t(cover.codecpar->width));
    putBigEndian(block, uint32_t(cover.codecpar->height));
    putBigEndian(block, 24);
    putBigEndian(block, 0);
    putBigEndian(block, uint32_t(picture.size));
    block.insert(block.end(), picture.data, picture.data + picture.size);
    std::string text(AV_BASE64_SIZE(block.size()), '\0');
    if (!av_base64_encode(text.data(), int(text.size()), block.data(), int(block.size()))) {
        return {};
    }
    text.resize(text.find('\0'));
    return text;
}

}  // namespace

const AVStream* coverStream(const AVFormatContext& input) {
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream* stream = input.streams[i];
        if ((stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && stream->attached_pic.size > 0) {
            return stream;
        }
    }
    return nullptr;
}

CoverArt::CoverArt(const AVStream& cover, AVFormatContext& output, AVStream& audioOutput,
                   std::string& note)
    : cover_(cover), output_(output) {
    const std::string muxer = output.oformat->name;
    const char* mime = mimeOf(cover.codecpar->codec_id);
    const bool inPackets = muxer == "mp3" || muxer == "flac" || muxer == "ipod" || muxer == "mp4" ||
                           muxer == "mov" || muxer == "aiff";
    const bool inComments = muxer == "ogg" || muxer == "oga" || muxer == "opus";
    if (!inPackets && !inComments) {
        note = "输出格式 " + muxer + " 不能保存封面图片，封面未写入";
        return;
    }
    const bool mp4Picture = cover.codecpar->codec_id == AV_CODEC_ID_MJPEG ||
                            cover.codecpar->codec_id == AV_CODEC_ID_PNG ||
                            cover.codecpar->codec_id == AV_CODEC_ID_BMP;
    const bool id3 = muxer == "mp3" || muxer == "aiff";
    if (!mime || (!id3 && muxer != "flac" && !inComments && !mp4Picture)) {
        note = std::string("封面图片的格式 ") + avcodec_get_name(cover.codecpar->codec_id) +
               " 不能保存在 " + muxer + " 中，封面未写入";
        return;
    }
    if (inComments) {
        const std::string block = pictureBlock(cover, mime);
        if (!block.empty()) {
            av_dict_set(&audioOutput.metadata, "METADATA_BLOCK_PICTURE", block.c_str(), 0);
        }
        return;
    }
    AVStream* stream = avformat_new_stream(&output, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, cover.codecpar) < 0) {
        note = "内存不足，封面未写入";
        return;
    }
    stream->codecpar->codec_tag = 0;
    stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
    stream->time_base = {1, 90000};
    streamIndex_ = stream->index;
    // A sound-only file with a cover has nothing to interleave; its sound is written at once.
    output.max_interleave_delta = 1;
}

bool CoverArt::write(std::string& error) {
    if (streamIndex_ < 0) {
        return true;
    }
    PacketPtr packet = makePacket();
    if (!packet || av_packet_ref(packet.get(), &cover_.attached_pic) < 0) {
        error = "内存不足，无法写入封面";
        return false;
    }
    packet->stream_index = streamIndex_;
    packet->pts = packet->dts = 0;
    packet->duration = 0;
    packet->flags |= AV_PKT_FLAG_KEY;
    if (const int status = av_interleaved_write_frame(&output_, packet.get()); status < 0) {
        error = "无法写入封面: " + avErrorText(status);
        return false;
    }
    return true;
}

}  // namespace talwyn::media
