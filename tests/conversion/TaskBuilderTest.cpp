#include "conversion/TaskBuilder.h"
#include "media/Converter.h"
#include "support/MediaFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace talwyn;
using namespace talwyn::joblist;

namespace {

JobRow rowWith(std::initializer_list<std::pair<JobColumn, const char*>> cells) {
    JobRow row;
    for (const auto& [column, text] : cells) {
        row.text[column] = QString::fromUtf8(text);
    }
    return row;
}

}  // namespace

TEST(TaskBuilder, RowColumnsOverTheSlotRecord) {
    media::TOutputOptions slot;
    slot.AudioBitrate = 64000;
    slot.AudioSampleRate = 22050;
    slot.AudioVolume = 256;
    slot.AudioLanguage = "Full";

    media::TOutputOptions x264 = slot;
    conversion::OverlayRowColumns(x264, rowWith({{VideoCodec, "libx264"},
                                                 {VideoTag, "XVID"},
                                                 {AudioBitrate, "-2000"},
                                                 {AudioSampleRate, "AUTO"},
                                                 {NormType, "pal"},
                                                 {TargetType, ""}}));
    EXPECT_EQ(x264.VideoCodec, "libx264");
    EXPECT_EQ(x264.VideoPreset, "libx264-default");
    EXPECT_EQ(x264.VideoTag, "");
    EXPECT_EQ(x264.AudioBitrate, 64000);     // "-2000" keeps the slot's value
    EXPECT_EQ(x264.AudioSampleRate, 22050);  // so does "AUTO"
    EXPECT_EQ(x264.NormType, media::TOptionNormType::ntAuto);
    EXPECT_EQ(x264.TargetType, media::TOptionTargetType::ttIgnore);
    EXPECT_EQ(x264.AudioLanguage, "");  // the slot's marker never reaches the converter
    EXPECT_EQ(x264.AudioVolume, 256);

    media::TOutputOptions xvid = slot;
    conversion::OverlayRowColumns(xvid, rowWith({{VideoCodec, "mpeg4"},
                                                 {VideoTag, "XVID"},
                                                 {AudioBitrate, "128000"},
                                                 {AudioSampleRate, "44100"},
                                                 {NormType, "PAL"},
                                                 {TargetType, "dvd"},
                                                 {DisableVideo, "True"},
                                                 {FileExt, ".rm"},
                                                 {VideoBitrate, "-1000"},
                                                 {AudioChannels, "1"},
                                                 {FrameSize, "320*240"},
                                                 {FrameRate, "29.97"},
                                                 {FrameAspectRatio, "16:9"}}));
    EXPECT_EQ(xvid.VideoCodec, "mpeg4");
    EXPECT_EQ(xvid.VideoPreset, "");
    EXPECT_EQ(xvid.VideoTag, "XVID");
    EXPECT_EQ(xvid.AudioBitrate, 128000);
    EXPECT_EQ(xvid.AudioSampleRate, 44100);
    EXPECT_EQ(xvid.NormType, media::TOptionNormType::ntPAL);
    EXPECT_EQ(xvid.TargetType, media::TOptionTargetType::ttDVD);
    EXPECT_TRUE(xvid.DisableVideo);
    EXPECT_EQ(xvid.FileExt, ".rm");
    EXPECT_EQ(xvid.VideoBitrate, -1000);
    EXPECT_EQ(xvid.AudioChannels, 1);
    EXPECT_EQ(xvid.FrameSize, "320*240");
    EXPECT_EQ(xvid.FrameRate, "29.97");
    EXPECT_EQ(xvid.FrameAspectRatio, "16:9");
}

TEST(TaskBuilder, EachRowItsOwnSlotAndAUniqueOutput) {
    const auto& media = test::MediaFiles::get();
    QTemporaryDir out;
    JobListModel jobs;
    JobSlots jobSlots;
    media::TOutputOptions loud;
    loud.AudioVolume = 512;
    const int slotA = jobSlots.allocate({}, loud);
    media::TOutputOptions quiet;
    quiet.AudioVolume = 128;
    const int slotB = jobSlots.allocate({}, quiet);
    const auto add = [&](const QString& input, const char* output, int slot) {
        JobRow row = rowWith({{OutputFile, output},
                              {AudioCodec, "libmp3lame"},
                              {DisableVideo, "True"},
                              {AudioBitrate, "128000"}});
        row.text[InputFile] = input;
        row.slot = slot;
        jobs.appendRow(row);
    };
    add(media.tone, "same.mp3", slotA);
    add(media.tone, "same.mp3", slotB);
    const QString missing = out.filePath("missing.wav");
    add(missing, "lost.mp3", -1);
    jobs.moveRow(0, 1);  // rows take their slots with them

    media::Converter converter;
    const conversion::BuildResult built =
        conversion::BuildConversionTasks(jobs, jobSlots, converter, out.path());
    ASSERT_EQ(built.taskRows.size(), 2u);
    EXPECT_EQ(built.taskRows[0], jobs.row(0).id);
    EXPECT_EQ(jobs.text(0, OutputFile), QStringLiteral("same.mp3"));
    EXPECT_EQ(jobs.text(1, OutputFile), QStringLiteral("same_1.mp3"));
    EXPECT_EQ(built.renamed, 1);
    ASSERT_EQ(built.failures.size(), 1u);
    EXPECT_EQ(built.failures[0].row, jobs.row(2).id);
    EXPECT_FALSE(built.failures[0].message.isEmpty());
    EXPECT_EQ(converter.TaskCount(), 2);
    EXPECT_EQ(converter.TaskOutput(0)->AudioVolume, 128);  // the moved row's own slot
    EXPECT_EQ(converter.TaskOutput(1)->AudioVolume, 512);
    EXPECT_EQ(converter.TaskOutput(1)->FileName, out.filePath("same_1.mp3").toStdString());
}
