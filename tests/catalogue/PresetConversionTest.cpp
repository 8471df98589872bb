#include "catalogue/Catalogue.h"
#include "catalogue/PresetConversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Conversion = talwyn::catalogue::PresetConversion;

TEST(PresetConversion, BitRates) {
    const struct {
        const char* text;
        std::optional<int32_t> audio, video;
    } cases[] = {
        {"128 kbps", 128000, 128000},
        {"816 kbps", 816000, 816000},
        {"4.75 kbps", 4750, std::nullopt},
        {"5.15 kbps", 5150, std::nullopt},
        {"5.9 kbps", 5900, std::nullopt},
        {"7.95 kbps", 7950, std::nullopt},
        {"10.2 kbps", 10200, std::nullopt},
        {"12.2 kbps", 12200, std::nullopt},
        {" 64kbps", 64000, 64000},
        {"无视频", std::nullopt, Conversion::kNoVideoBitrate},
        {"", std::nullopt, std::nullopt},
        {"kbps", std::nullopt, std::nullopt},
        {"fast kbps", std::nullopt, std::nullopt},
        {"-5 kbps", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(Conversion::audioBitrate(text), c.audio) << c.text;
        EXPECT_EQ(Conversion::videoBitrate(text), c.video) << c.text;
    }
}

TEST(PresetConversion, EveryDecimalAudioEntryIsExact) {
    // A float product such as 4.75 * 1000 can land on 4749.999… and truncate to 4749.
    for (const auto& list : talwyn::catalogue::kEntryLists) {
        if (QString::fromLatin1(list.name).startsWith(QStringLiteral("ABR-"))) {
            for (const char* entry : list.entries) {
                const QString text = QString::fromUtf8(entry);
                const double kbps = text.left(text.indexOf(' ')).toDouble();
                EXPECT_EQ(Conversion::audioBitrate(text), int32_t(std::lround(kbps * 1000)))
                    << entry;
            }
        }
    }
}

TEST(PresetConversion, TextsThatKeepTheSource) {
    const struct {
        const char* text;
        const char* frameSize;
        const char* frameRate;
        const char* aspect;  // nullptr: the setting stays
    } cases[] = {
        {"保持原分辨率", "", "保持原分辨率", nullptr},
        {"该格式无视频", "", "该格式无视频", nullptr},
        {"保持原帧速率", "保持原帧速率", "", nullptr},
        {"无视频", "无视频", "", ""},
        {"保持原视频模式", "保持原视频模式", "保持原视频模式", ""},
        {"普通视频4:3模式", "普通视频4:3模式", "普通视频4:3模式", "4:3"},
        {"宽屏视频16:9模式", "宽屏视频16:9模式", "宽屏视频16:9模式", "16:9"},
        {"宽屏视频37:20模式", "宽屏视频37:20模式", "宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "宽屏视频47:20模式", "宽屏视频47:20模式", "47:20"},
        {"320*240", "320*240", "320*240", nullptr},
        {"29.97", "29.97", "29.97", nullptr},
        {"12", "12", "12", nullptr},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(Conversion::frameSize(text), QString::fromUtf8(c.frameSize)) << c.text;
        EXPECT_EQ(Conversion::frameRate(text), QString::fromUtf8(c.frameRate)) << c.text;
        const auto aspect = Conversion::aspect(text);
        if (c.aspect) {
            EXPECT_EQ(aspect, QString::fromUtf8(c.aspect)) << c.text;
        } else {
            EXPECT_FALSE(aspect.has_value()) << c.text;
        }
    }
    EXPECT_EQ(Conversion::sampleRate(QStringLiteral("8000")), QStringLiteral("8000"));
}
