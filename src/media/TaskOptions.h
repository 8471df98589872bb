#pragma once

#include <cstdint>
#include <limits>
#include <string>

// The option records of one conversion task: what is read (TInputOptions) and what is written
// (TOutputOptions). Numbers of 0 or below mean "not set" unless a field says otherwise.

namespace talwyn::media {

// Timestamps in microseconds; this value means "no time given".
inline constexpr int64_t kNoTime = std::numeric_limits<int64_t>::min();

enum class TOptionTargetType { ttIgnore = 0, ttVCD = 1, ttSVCD = 2, ttDVD = 3 };
enum class TOptionNormType { ntAuto = 0, ntPAL = 1, ntNTSC = 2 };

struct TStreamInfo {
    double TimeStamp = -1.0;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

struct TInputOptions {
    std::string FileName;  // UTF-8 path
    std::string FileFormat;
    int64_t TimeStart = kNoTime;
    int32_t ProgramID = -1;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};

struct TOutputOptions {
    std::string FileName;    // UTF-8 path
    bool Overwrite = false;  // an existing file of the name may be replaced (never an input)
    std::string FileExt;
    std::string FileFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    int32_t AudioVolume = -1;
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    // The source's sample rate and depth (16, 24 or 32 bits, floating point where the codec
    // takes it) instead of the codec's 16 bits.
    bool KeepSourceQuality = false;
    int32_t AudioBitrate = -1;
    int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    int32_t CropTop = -1;
    int32_t CropBottom = -1;
    int32_t CropLeft = -1;
    int32_t CropRight = -1;
    int32_t GroupPictureSize = -1;
    int32_t VideoBitrate = -1;
    int32_t VideoMaxRate = -1;
    int32_t VideoMinRate = -1;
    int32_t VideoBitRateTolerance = -1;
    int32_t VideoBufSize = -1;
    int32_t VideoSyncMethod = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    int64_t TimeStart = kNoTime;
    int64_t TimeLength = kNoTime;
    TStreamInfo Info;
    TOptionTargetType TargetType = TOptionTargetType::ttIgnore;
    TOptionNormType NormType = TOptionNormType::ntAuto;
    TOptionNormType NormDefault = TOptionNormType::ntPAL;
    bool CustomHook = false;
    bool Join = false;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};

}  // namespace talwyn::media
