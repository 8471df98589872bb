#pragma once

#include <cstdint>
#include <string>

// Whether an earlier run already made a file's output, for resuming a run: an output counts when
// it decodes and lasts as long as its input.

namespace talwyn::cli {

// How far a complete output's length may differ from its input's: encoders pad to whole frames
// (an MP3 adds up to about 50 ms, AAC a little more), a cut-off file misses far more.
int64_t completenessTolerance(int64_t inputDuration);

// The length of the file's main stream, from the time stamps of every packet read to its end
// (not the header's word, which a cut-off file keeps); -1 when it cannot be read.
int64_t measuredDuration(const std::string& path);

// The first of the wanted name and its "_1", "_2" … variants that is a complete output of an input
// of that length; empty when there is none.
std::string completeOutputOf(const std::string& wanted, int64_t inputDuration);

}  // namespace talwyn::cli
