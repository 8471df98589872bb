#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"

#include <gtest/gtest.h>

using namespace talwyn;
using joblist::PresetKind;

namespace {

conversion::JobRecord recordWith(int code, PresetKind kind, const char* entry) {
    conversion::PresetTexts texts = conversion::DefaultPresetTexts(code);
    texts[size_t(kind)] = QString::fromUtf8(entry);
    const auto choice = conversion::ChoiceWithTexts(code, texts);
    EXPECT_TRUE(choice) << code << " offers no " << entry;
    return choice ? conversion::MakeJobRecord(*choice) : conversion::JobRecord{};
}

}  // namespace

// Entries the engine cannot use as they stand: the record holds the value really used, says so,
// and a list whose every entry gives one value is locked.
TEST(JobRecord, ValuesTheEngineReplacesAreInTheRecord) {
    const struct {
        int code;
        PresetKind kind;
        const char* entry;
        const char* setting;    // what the row's column and the task get
        const char* effective;  // what the list shows beside the entry; "" for the entry itself
        bool locked;
    } cases[] = {
        {11, PresetKind::FrameSize, "352*288", "720*576", "720*576", true},  // DVD, PAL
        {11, PresetKind::FrameRate, "15.00", "25/1", "25", true},
        {11, PresetKind::VideoBitrate, "528 kbps", "6000000", "6000 kbps", true},
        {11, PresetKind::AudioBitrate, "64 kbps", "448000", "448 kbps", true},
        {11, PresetKind::SampleRate, "11025", "48000", "48000", true},
        {13, PresetKind::FrameSize, "保持原分辨率", "352*288", "352*288", true},  // VCD
        {6, PresetKind::FrameRate, "15.00", "24000/1001", "23.976", false},       // MPEG-1
        {6, PresetKind::FrameRate, "23.97", "24000/1001", "23.976", false},
        {6, PresetKind::FrameRate, "25.00", "25.00", "", false},
        {6, PresetKind::FrameRate, "保持原帧速率", "", "", false},
        {3000, PresetKind::AudioBitrate, "32 kbps", "-1", "无损", true},           // PCM
        {108, PresetKind::AudioBitrate, "320 kbps", "-1", "无损", true},           // AIFF
        {110, PresetKind::AudioBitrate, "32 kbps", "-1", "无损", true},            // FLAC
        {107, PresetKind::AudioBitrate, "144 kbps", "128000", "128 kbps", false},  // AC-3
        {109, PresetKind::AudioBitrate, "144 kbps", "128000", "128 kbps", false},  // MP2
        {109, PresetKind::AudioBitrate, "160 kbps", "160000", "", false},
        {14, PresetKind::FrameSize, "852*480", "848*480", "848*480", false},  // RealVideo
        {14, PresetKind::FrameSize, "640*368", "640*368", "", false},
        {2900, PresetKind::SampleRate, "11025", "11025", "", false},
        {2900, PresetKind::AudioBitrate, "32 kbps", "32000", "", false},
        {2900, PresetKind::AudioBitrate, "144 kbps", "128000", "128 kbps", false},  // MPEG-1 L3
        {2901, PresetKind::AudioBitrate, "320 kbps", "160000", "160 kbps", false},  // at 22050
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.entry);
        const conversion::JobRecord record = recordWith(c.code, c.kind, c.entry);
        EXPECT_EQ(joblist::PresetSetting(record.fields, c.kind), QString::fromUtf8(c.setting));
        EXPECT_EQ(record.presets[size_t(c.kind)].entry, QString::fromUtf8(c.entry));
        EXPECT_EQ(record.presets[size_t(c.kind)].effective, QString::fromUtf8(c.effective));
        EXPECT_EQ(conversion::FixedPresetLists(record.choice)[size_t(c.kind)], c.locked);
    }
}

// The record is made from the choice alone: positions outside a list stand for the list's
// preselected entry, the output name's extension is that of the file really written, and the
// task gets exactly the record's settings.
TEST(JobRecord, MadeFromTheChoiceAlone) {
    auto choice = *conversion::DefaultChoiceForCode(1);  // MP4
    const conversion::JobRecord fresh = conversion::MakeJobRecord(choice);
    conversion::SetPresetPosition(choice, PresetKind::FrameRate, 99);
    conversion::SetPresetPosition(choice, PresetKind::Aspect, -1);
    const conversion::JobRecord mended = conversion::MakeJobRecord(choice);
    EXPECT_EQ(mended.choice, fresh.choice);
    EXPECT_EQ(mended.fields.Video_FrameRate, fresh.fields.Video_FrameRate);

    const struct {
        int code;
        const char* extension;
        const char* container;
    } names[] = {
        {3300, ".avi", ".avi"},  // titled (*.mp4), but the profile writes AVI
        {106, ".ra", ".rm"},
        {11, ".mpg", ""},
        {3000, ".wav", ".wav"},
    };
    for (const auto& n : names) {
        const conversion::JobRecord record =
            conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(n.code));
        EXPECT_EQ(record.extension, QString::fromLatin1(n.extension)) << n.code;
        EXPECT_EQ(conversion::TaskOptions(record).FileExt, n.container) << n.code;
    }

    const media::TOutputOptions dvd =
        conversion::TaskOptions(recordWith(11, PresetKind::FrameSize, "352*288"));
    EXPECT_EQ(dvd.TargetType, media::TOptionTargetType::ttDVD);
    EXPECT_EQ(dvd.FrameSize, "720*576");
    EXPECT_EQ(dvd.AudioBitrate, 448000);
    const media::TOutputOptions x264 =
        conversion::TaskOptions(conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(2600)));
    EXPECT_EQ(x264.VideoCodec, "libx264");
    EXPECT_EQ(x264.VideoTag, "");

    EXPECT_FALSE(conversion::ChoiceWithTexts(2900, conversion::DefaultPresetTexts(0)));
    joblist::JobRow row;
    row.text[joblist::CatalogueSlotColumn] = QStringLiteral("1600");  // no category 15
    row.text[joblist::PresetPositionsColumn] = QStringLiteral("000000000000");
    EXPECT_FALSE(conversion::ChoiceOfRow(row));
}
