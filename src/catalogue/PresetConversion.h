#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// How a preset entry's text becomes an output setting. Texts are compared exactly.

namespace talwyn::catalogue::PresetConversion {

// Video bit rate of a profile without video.
inline constexpr int32_t kNoVideoBitrate = -1000;
// The sample-rate entry that keeps the source's rate and sample depth.
inline constexpr const char* kKeepSourceQuality = "保持原始音质";

// Empty (keep the source's) for the keep and no-video entries, else the text itself.
QString frameSize(const QString& text);
QString frameRate(const QString& text);
// kbps * 1000; kNoVideoBitrate for "无视频"; nothing when no whole number stands before "kbps".
std::optional<int32_t> videoBitrate(const QString& text);
// kbps * 1000, decimals taken exactly ("4.75 kbps" is 4750); nothing when no number stands
// before "kbps".
std::optional<int32_t> audioBitrate(const QString& text);
QString sampleRate(const QString& text);
// "4:3", "16:9", "37:20", "47:20", or empty for the keep and no-video entries; nothing for any
// other text (the setting stays as it was).
std::optional<QString> aspect(const QString& text);

}  // namespace talwyn::catalogue::PresetConversion
