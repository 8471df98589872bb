#include "media/Orientation.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstring>

namespace talwyn::media {
namespace {

int signOf(int32_t fixed) {
    // Entries of a quarter turn are 0 or ±1 in 16.16; anything between is an odd angle.
    const double value = fixed / 65536.0;
    return value > 0.5 ? 1 : value < -0.5 ? -1 : 0;
}

}  // namespace

Orientation orientationOfMatrix(const int32_t matrix[9]) {
    // A point (x, y) of the decoded picture, y going down, is shown at
    // (a x + c y, b x + d y).
    int a = signOf(matrix[0]), b = signOf(matrix[1]);
    const int c = signOf(matrix[3]), d = signOf(matrix[4]);
    const bool quarterTurn =
        (a != 0 && d != 0 && b == 0 && c == 0) || (a == 0 && d == 0 && b != 0 && c != 0);
    if (!quarterTurn) {
        return {};
    }
    Orientation orientation;
    orientation.mirrored = a * d - b * c < 0;
    if (orientation.mirrored) {
        // What is left after undoing the mirror is a pure turn.
        a = -a;
        b = -b;
    }
    orientation.quarterTurns = a > 0 ? 0 : a < 0 ? 2 : b > 0 ? 1 : 3;
    return orientation;
}

Orientation orientationOf(const AVStream& stream) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t)) {
        return {};
    }
    int32_t matrix[9];
    std::memcpy(matrix, data, sizeof matrix);
    return orientationOfMatrix(matrix);
}

std::string Orientation::filterChain() const {
    static const char* const turned[4] = {"", "transpose=clock", "hflip,vflip", "transpose=cclock"};
    static const char* const mirroredThenTurned[4] = {"hflip", "transpose=clock_flip", "vflip",
                                                      "transpose=cclock_flip"};
    return (mirrored ? mirroredThenTurned : turned)[quarterTurns & 3];
}

std::string Orientation::text() const {
    std::string text = mirrored ? "水平翻转" : "";
    if (quarterTurns != 0) {
        text += (text.empty() ? "" : "后") + std::string("顺时针旋转 ") +
                std::to_string(clockwiseDegrees()) + "°";
    }
    return text;
}

std::vector<uint8_t> uprightPixels(const std::vector<uint8_t>& pixels, int& width, int& height,
                                   Orientation orientation) {
    if (orientation.upright()) {
        return pixels;
    }
    const int w = width, h = height;
    const int outWidth = orientation.swapsSides() ? h : w;
    const int outHeight = orientation.swapsSides() ? w : h;
    std::vector<uint8_t> turned(pixels.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int tx = orientation.mirrored ? w - 1 - x : x, ty = y;
            int sideW = w, sideH = h;
            for (int turn = 0; turn < orientation.quarterTurns; ++turn) {
                // One clockwise quarter turn of a sideW x sideH picture.
                const int nx = sideH - 1 - ty;
                ty = tx;
                tx = nx;
                std::swap(sideW, sideH);
            }
            std::memcpy(&turned[(size_t(ty) * outWidth + tx) * 4], &pixels[(size_t(y) * w + x) * 4],
                        4);
        }
    }
    width = outWidth;
    height = outHeight;
    return turned;
}

}  // namespace talwyn::media
