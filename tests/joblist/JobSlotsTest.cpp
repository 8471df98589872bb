#include "joblist/JobSlots.h"

#include <gtest/gtest.h>

using namespace talwyn;
using joblist::JobSlots;

namespace {
media::TOutputOptions outputFor(const std::string& name) {
    media::TOutputOptions output;
    output.FileName = name;
    output.AudioVolume = 256;
    return output;
}
}  // namespace

TEST(JobSlots, AllocateRemoveAndReuseOnlyAfterInit) {
    JobSlots pool;
    EXPECT_EQ(pool.freeCount(), 501);

    EXPECT_EQ(pool.allocate({}, outputFor("a.wav")), 0);
    EXPECT_EQ(pool.marker(0), JobSlots::kFull);
    EXPECT_EQ(pool.freeCount(), 500);
    for (int i = 1; i < JobSlots::kCount; ++i) {
        ASSERT_EQ(pool.marker(i), JobSlots::kFree) << i;
    }

    pool.markDeleted(0);
    EXPECT_EQ(pool.marker(0), JobSlots::kDeleted);
    EXPECT_EQ(pool.allocate({}, outputFor("b.wav")), 1);  // a removed row's slot is not reused

    pool.InitValues();
    EXPECT_EQ(pool.freeCount(), 501);
    EXPECT_EQ(pool.allocate({}, outputFor("c.wav")), 0);
}

TEST(JobSlots, StoredRecordsComeBackWithoutTheMarker) {
    JobSlots pool;
    media::TInputOptions input;
    input.FileName = "/music/歌.flac";
    const int slot = pool.allocate(input, outputFor("/out/歌.wav"));
    EXPECT_EQ(pool.input(slot).FileName, "/music/歌.flac");
    EXPECT_EQ(pool.output(slot).FileName, "/out/歌.wav");
    EXPECT_EQ(pool.output(slot).AudioVolume, 256);
    EXPECT_TRUE(pool.output(slot).AudioLanguage.empty());
}

TEST(JobSlots, ExhaustionNeverGoesBeyondTheLastSlot) {
    JobSlots pool;
    for (int i = 0; i < JobSlots::kCount; ++i) {
        ASSERT_EQ(pool.allocate({}, {}), i);
        if (i % 2 == 0) {
            pool.markDeleted(i);
        }
    }
    EXPECT_EQ(pool.freeCount(), 0);
    EXPECT_EQ(pool.allocate({}, {}), -1);
    pool.markDeleted(501);  // out of range: ignored
    pool.markDeleted(-1);
    EXPECT_EQ(pool.allocate({}, {}), -1);
}
