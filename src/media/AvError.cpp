#include "media/AvError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace talwyn::media {

std::string avErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace talwyn::media
