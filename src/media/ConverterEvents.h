#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talwyn::media {

struct TProgressInfo {
    int32_t TaskIndex = 0;
    int32_t FileIndex = 0;
    int32_t FrameNumber = 0;
    int32_t FPS = 0;  // frames encoded per second; 0 for sound only
    float Quality = 0;
    float BitRate = 0;            // kbit/s of the output so far
    int64_t CurrentSize = 0;      // bytes written
    int64_t CurrentDuration = 0;  // microseconds of output written
    int64_t TotalDuration = 0;    // microseconds of input to convert
    std::string OutputFile;       // the name the output really gets
};

// Why a task did not convert its file, for code to tell apart (the text is for people).
enum class ErrorKind {
    None,
    InputUnreadable,   // the input cannot be opened or read
    InputDamaged,      // it opened, but held nothing that could be converted
    InputIncomplete,   // converted as far as it could be read (Incomplete)
    Settings,          // the output's settings cannot work for this input
    OutputUnwritable,  // the output could not be written or named
    Conversion,        // decoding, filtering or encoding failed on the way
};

struct TTerminateInfo {
    int32_t TaskIndex = 0;   // negative: the whole batch has ended
    bool Finished = false;   // the output is complete under its name
    bool Exception = false;  // failed; nothing was written
    std::string ExceptionMsg;
    // Finished, but the input ended early or held damage that was skipped: the output holds
    // what could be read, and ExceptionMsg says what was wrong.
    bool Incomplete = false;
    int64_t ConvertedDuration = 0;  // microseconds
    int64_t TotalDuration = 0;
    std::string OutputFile;  // the name the output got
    ErrorKind Kind = ErrorKind::None;
};

// The termination that ends a batch.
inline TTerminateInfo batchEnd() {
    TTerminateInfo info;
    info.TaskIndex = -1;
    return info;
}

// A picture of the frame being encoded, for the live preview: 32-bit RGB rows.
struct PreviewPicture {
    int32_t TaskIndex = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> rgb32;
};

}  // namespace talwyn::media
