#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The fixed tables of the output catalogue (UTF-8 texts). Pure data; Catalogue.h has the functions
// over them.

namespace talwyn::catalogue {

struct CategoryInfo {
    const char* caption;
    int icon;          // picture number of the category's icon
    int group;         // ProfileCode = group * 100 + profile index
    int firstProfile;  // position of its first profile in kProfiles
    int profileCount;
};

// What a profile stores in the working settings. Empty texts and -1 are neutral; -1000 is "not
// set" for the disc targets.
struct ProfileSettings {
    const char* ext;  // output extension of the file name
    const char* FileExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    int32_t VideoBitrate;
    const char* FrameRate;
    const char* FrameAspectRatio;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int32_t AudioBitrate;
    const char* TargetType;
    const char* NormType;
    bool DisableVideo;
};

struct EntryList {
    const char* name;
    std::span<const char* const> entries;
};

struct PresetCell {
    const EntryList* list;
    const char* selected;  // the entry preselected
};

// In the order the lists are filled: frame size, video bit rate, frame rate, audio bit rate,
// sample rate, aspect mode.
struct PresetRow {
    PresetCell frameSize, videoBitrate, frameRate, audioBitrate, sampleRate, aspect;
};

struct ProfileRecord {
    int code;
    const char* title;
    const char* caption;
    ProfileSettings settings;
    PresetRow presets;
};

extern const std::array<EntryList, 62> kEntryLists;
extern const std::array<CategoryInfo, 15> kCategories;
// In category order, and inside a category by profile index.
extern const std::array<ProfileRecord, 129> kProfiles;

}  // namespace talwyn::catalogue
