#pragma once

#include <array>

// The 25 text columns of a job row. Position 0 is the input file; the hidden columns (width 0)
// hold the job's settings.

namespace talwyn::joblist {

enum JobColumn : int {
    InputFile = 0,
    Duration = 1,
    InputSize = 2,
    OutputFile = 3,
    Progress = 4,
    Speed = 5,
    CurrentTime = 6,
    OutputSize = 7,
    Sequence = 8,
    CatalogueSlotColumn = 9,
    PresetPositionsColumn = 10,
    VideoCodec = 11,
    AudioCodec = 12,
    AudioChannels = 13,
    VideoTag = 14,
    FileExt = 15,
    FrameSize = 16,
    VideoBitrate = 17,
    FrameRate = 18,
    AudioBitrate = 19,
    AudioSampleRate = 20,
    FrameAspectRatio = 21,
    DisableVideo = 22,
    TargetType = 23,
    NormType = 24,
};

inline constexpr int kJobColumnCount = 25;

struct JobColumnInfo {
    const char* caption;  // UTF-8
    int width;            // 0: hidden
};

inline constexpr std::array<JobColumnInfo, kJobColumnCount> kJobColumns{{
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
}};

}  // namespace talwyn::joblist
