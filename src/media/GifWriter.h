#pragma once

#include <cstdint>
#include <string>

namespace talwyn::media {

// Writes one picture as a GIF file: width x height palette indexes (rows of `stride` bytes) and
// a palette of 256 colours as 0xAARRGGBB. Returns an empty text, or why it failed.
std::string WriteGif(const std::string& path, int width, int height, const uint8_t* indexes,
                     int stride, const uint32_t* palette);

}  // namespace talwyn::media
