#include "joblist/TextFormats.h"

#include <gtest/gtest.h>

using namespace talwyn::joblist;

TEST(TextFormats, SecToDate) {
    const struct {
        int64_t seconds;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},      {59, "00:00:59"},    {61, "00:01:01"},
        {3600, "01:00:00"},   {86399, "23:59:59"}, {90000, "01:00:00"},  // hours wrap at 24
        {360000, "04:00:00"}, {-5, "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SecToDate(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
    }
}

TEST(TextFormats, SizeText) {
    const struct {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0MB"},
        {1572864, "1.5MB"},
        {1048576, "1MB"},
        {3670016, "3.5MB"},
        {123456789, "117.74MB"},
        {10590617, "10.1MB"},  // 10.0999… rounds up to 10.10, written without the zero
        {131072, "0.12MB"},    // exactly 0.125: the half goes to the even hundredth
        {393216, "0.38MB"},    // exactly 0.375
        {5242, "0MB"},         // 0.004999…
        {5243, "0.01MB"},
        {1048575, "1MB"},
        {-1, "0MB"},
        {1048565514, "999.99MB"},
        {1048570757, "999.99MB"},  // 999.99499…
        {1048570758, "0.98GB"},    // 999.995… would be written 1000MB: from there on, GB
        {1048576000, "0.98GB"},
        {int64_t(5000) * 1048576 + 1, "4.88GB"},
        {int64_t(1) << 30, "1GB"},
        {int64_t(1536) << 20, "1.5GB"},
        {int64_t(1152) << 20, "1.12GB"},  // exactly 1.125: the half goes to the even hundredth
        {int64_t(1408) << 20, "1.38GB"},  // exactly 1.375
        {int64_t(1) << 40, "1024GB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
    }
}

TEST(TextFormats, CatalogueSlotRoundTrip) {
    const struct {
        int category, profile, slot;
    } cases[] = {{0, 2, 102}, {0, 0, 100}, {14, 8, 1508}, {9, 13, 1013}, {3, 99, 499}};
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeCatalogueSlot({c.category, c.profile}), c.slot);
        const CatalogueIndexes back = DecodeCatalogueSlot(c.slot);
        EXPECT_EQ(back.category, c.category) << c.slot;
        EXPECT_EQ(back.profile, c.profile) << c.slot;
    }
}

TEST(TextFormats, PresetPositions) {
    const PresetIndexes example{3, 12, 0, 1, 7, 2};
    EXPECT_EQ(EncodePresetPositions(example), QStringLiteral("031200010702"));
    EXPECT_EQ(DecodePresetPositions(QStringLiteral("031200010702")), example);

    const PresetIndexes large{99, 10, 9, 0, 45, 11};
    EXPECT_EQ(DecodePresetPositions(EncodePresetPositions(large)), large);

    // A list without a selection shifts the later fields; such a text is not read back.
    const QString unselected = EncodePresetPositions({-1, 0, 0, 0, 0, 0});
    EXPECT_EQ(unselected, QStringLiteral("0-10000000000"));
    EXPECT_FALSE(DecodePresetPositions(unselected).has_value());
    for (const char* bad : {"", "03120001070", "0312000107022", "03120001070x", "  1200010702"}) {
        EXPECT_FALSE(DecodePresetPositions(QString::fromLatin1(bad)).has_value()) << bad;
    }
}
