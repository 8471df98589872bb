#include "cli/ExistingOutput.h"

#include "media/AvPtr.h"
#include "media/InputFile.h"
#include "media/OutputTarget.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace talwyn::cli {

int64_t completenessTolerance(int64_t inputDuration) {
    return std::max<int64_t>(500'000, inputDuration / 50);
}

int64_t measuredDuration(const std::string& path) {
    std::string error;
    media::InputContextPtr input = media::openInputFile(path, {}, nullptr, error);
    if (!input || avformat_find_stream_info(input.get(), nullptr) < 0) {
        return -1;
    }
    int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) {
        index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    if (index < 0) {
        return -1;
    }
    const AVStream* stream = input->streams[index];
    media::PacketPtr packet = media::makePacket();
    int64_t first = AV_NOPTS_VALUE, end = AV_NOPTS_VALUE;
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE) {
            first = first == AV_NOPTS_VALUE ? packet->pts : std::min(first, packet->pts);
            end = std::max(end == AV_NOPTS_VALUE ? packet->pts : end,
                           packet->pts + std::max<int64_t>(0, packet->duration));
        }
        av_packet_unref(packet.get());
    }
    if (first == AV_NOPTS_VALUE) {
        return -1;
    }
    return av_rescale_q(end - first, stream->time_base, AV_TIME_BASE_Q);
}

std::string completeOutputOf(const std::string& wanted, int64_t inputDuration) {
    for (int n = 0;; ++n) {
        const std::string candidate = media::nameVariant(wanted, n);
        struct stat status {};
        if (::lstat(candidate.c_str(), &status) != 0) {
            return {};  // the variants of a name are taken in turn: none beyond the first gap
        }
        if (!S_ISREG(status.st_mode)) {
            continue;
        }
        const int64_t length = measuredDuration(candidate);
        if (length >= 0 && (inputDuration <= 0 || std::llabs(length - inputDuration) <=
                                                      completenessTolerance(inputDuration))) {
            return candidate;
        }
    }
}

}  // namespace talwyn::cli
