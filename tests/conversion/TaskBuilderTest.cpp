#include "conversion/JobRecord.h"
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

// A row's task comes from its choice alone: neither a stale slot record nor stale setting
// columns (what an earlier profile left) reach the converter.
TEST(TaskBuilder, TheRowChoiceAloneDecidesTheTask) {
    const auto& media = test::MediaFiles::get();
    QTemporaryDir out;
    JobListModel jobs;
    JobSlots jobSlots;
    media::TOutputOptions stale;
    stale.AudioCodec = "libmp3lame";
    stale.AudioBitrate = 192000;
    stale.FrameSize = "704*480";
    const int slot = jobSlots.allocate({}, stale);

    const conversion::JobRecord wav =
        conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(3000));
    JobRow row =
        rowWith({{OutputFile, "a.wav"}, {AudioCodec, "libmp3lame"}, {FrameSize, "704*480"}});
    conversion::WriteRecordColumns(row, wav);
    row.text[AudioCodec] = QStringLiteral("libmp3lame");  // a column some old code left behind
    row.text[InputFile] = media.tone;
    row.slot = slot;
    jobs.appendRow(row);
    JobRow unreadable = row;
    unreadable.text[PresetPositionsColumn] = QStringLiteral("0-10000000000");
    jobs.appendRow(unreadable);

    media::Converter converter;
    const conversion::BuildResult built =
        conversion::BuildConversionTasks(jobs, jobSlots, converter, out.path(), false);
    ASSERT_EQ(built.taskRows.size(), 1u);
    const auto task = converter.TaskOutput(0);
    ASSERT_TRUE(task);
    EXPECT_EQ(task->AudioCodec, "");  // the WAV container's own PCM
    EXPECT_EQ(task->FrameSize, "");
    EXPECT_EQ(task->FileExt, ".wav");
    EXPECT_EQ(task->AudioSampleRate, 48000);
    ASSERT_EQ(built.failures.size(), 1u);
    EXPECT_EQ(built.failures[0].row, jobs.row(1).id);
}

TEST(TaskBuilder, EachRowItsOwnSlotAndAUniqueOutput) {
    const auto& media = test::MediaFiles::get();
    QTemporaryDir out;
    JobListModel jobs;
    JobSlots jobSlots;
    media::TInputOptions fromStart;
    fromStart.TimeStart = 0;
    const int slotA = jobSlots.allocate({}, {});
    const int slotB = jobSlots.allocate(fromStart, {});
    const auto add = [&](const QString& input, const char* output, int slot) {
        JobRow row = rowWith({{OutputFile, output}});
        conversion::WriteRecordColumns(
            row, conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(2900)));
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
        conversion::BuildConversionTasks(jobs, jobSlots, converter, out.path(), false);
    ASSERT_EQ(built.taskRows.size(), 2u);
    EXPECT_EQ(built.taskRows[0], jobs.row(0).id);
    EXPECT_EQ(jobs.text(0, OutputFile), QStringLiteral("same.mp3"));
    EXPECT_EQ(jobs.text(1, OutputFile), QStringLiteral("same_1.mp3"));
    EXPECT_EQ(built.renamed, 1);
    ASSERT_EQ(built.failures.size(), 1u);
    EXPECT_EQ(built.failures[0].row, jobs.row(2).id);
    EXPECT_FALSE(built.failures[0].message.isEmpty());
    EXPECT_EQ(converter.TaskCount(), 2);
    EXPECT_EQ(converter.TaskInput(0)->TimeStart, 0);  // the moved row's own slot
    EXPECT_EQ(converter.TaskInput(1)->TimeStart, media::kNoTime);
    EXPECT_EQ(converter.TaskOutput(1)->FileName, out.filePath("same_1.mp3").toStdString());
}
