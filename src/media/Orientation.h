#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AVStream;

// How a decoded picture must be turned to be seen upright, as phones and cameras record it in a
// display matrix instead of turning the pictures themselves: mirrored left-right first (when the
// matrix flips), then turned clockwise by a number of quarter turns.

namespace talwyn::media {

struct Orientation {
    int quarterTurns = 0;  // clockwise, 0 to 3
    bool mirrored = false;

    bool upright() const { return quarterTurns == 0 && !mirrored; }
    // Whether width and height change places.
    bool swapsSides() const { return quarterTurns % 2 != 0; }
    int clockwiseDegrees() const { return quarterTurns * 90; }
    // The filters that turn the picture, e.g. "transpose=clock"; empty when it is upright.
    std::string filterChain() const;
    // "顺时针旋转 90°", "水平翻转" and the like, for descriptions.
    std::string text() const;

    bool operator==(const Orientation&) const = default;
};

// From the 3x3 display matrix (16.16 and 2.30 fixed point); upright for a matrix that is not a
// multiple of a quarter turn.
Orientation orientationOfMatrix(const int32_t matrix[9]);
// The stream's display matrix, upright when it carries none.
Orientation orientationOf(const AVStream& stream);

// A 32-bit-per-pixel picture turned upright; width and height are those of the given picture and
// become those of the result.
std::vector<uint8_t> uprightPixels(const std::vector<uint8_t>& pixels, int& width, int& height,
                                   Orientation orientation);

}  // namespace talwyn::media
