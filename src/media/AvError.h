#pragma once

#include <string>

namespace talwyn::media {

// FFmpeg's text for an error code.
std::string avErrorText(int code);

}  // namespace talwyn::media
