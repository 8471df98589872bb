#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueJson.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cstring>

using namespace talwyn::catalogue;

TEST(Catalogue, CategoriesListTheirCodesInOrder) {
    const struct {
        const char* caption;
        int group, icon, firstCode, count;
    } expected[] = {
        {"WAV音频", 30, 53, 3000, 4},      {"MP3音频", 29, 52, 2900, 4},
        {"WMA音频", 28, 50, 2800, 4},      {"通用音频", 1, 1, 100, 13},
        {"经典视频", 0, 40, 0, 15},        {"iPod视频", 3, 3, 300, 14},
        {"iPhone视频", 4, 4, 400, 15},     {"PSP视频", 5, 5, 500, 5},
        {"Flash视频", 11, 11, 1100, 4},    {"iPad视频", 12, 15, 1200, 11},
        {"Android视频", 19, 21, 1900, 12}, {"智能电视", 33, 43, 3300, 12},
        {"MP4视频", 10, 10, 1000, 5},      {"AVI视频", 15, 13, 1500, 7},
        {"H264视频", 26, 45, 2600, 4},
    };
    int total = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        const auto& e = expected[c];
        EXPECT_STREQ(kCategories[c].caption, e.caption);
        EXPECT_EQ(groupOf(c), e.group);
        EXPECT_EQ(kCategories[c].icon, e.icon);
        const auto profiles = profilesOf(c);
        ASSERT_EQ(int(profiles.size()), e.count) << e.caption;
        for (int i = 0; i < e.count; ++i) {
            EXPECT_EQ(profiles[i].code, e.firstCode + i) << e.caption;
            EXPECT_EQ(profileCode(c, i), e.firstCode + i);
            EXPECT_EQ(findProfile(e.firstCode + i), &profiles[i]);
        }
        EXPECT_EQ(profileCode(c, e.count), -1);
        total += e.count;
    }
    EXPECT_EQ(total, 129);
    EXPECT_EQ(groupOf(15), -1);
    EXPECT_EQ(profileCode(-1, 0), -1);
    EXPECT_EQ(findProfile(3004), nullptr);
    // The worked example: category 0, profile index 2.
    EXPECT_EQ(profileCode(0, 2), 3002);
    EXPECT_EQ(profileCode(0, 2) + 100, 3102);
}

TEST(Catalogue, EveryPresetChoiceIsInItsList) {
    QSet<QString> names;
    for (const EntryList& list : kEntryLists) {
        names.insert(QString::fromLatin1(list.name));
        QSet<QString> entries;
        for (const char* entry : list.entries) {
            entries.insert(QString::fromUtf8(entry));
        }
        EXPECT_EQ(entries.size(), qsizetype(list.entries.size())) << list.name << " repeats";
    }
    EXPECT_EQ(names.size(), 62);  // with the sample rates that keep a hi-res source
    for (const ProfileRecord& profile : kProfiles) {
        const PresetRow& r = profile.presets;
        for (const PresetCell* cell : {&r.frameSize, &r.videoBitrate, &r.frameRate, &r.audioBitrate,
                                       &r.sampleRate, &r.aspect}) {
            ASSERT_NE(cell->list, nullptr) << profile.code;
            EXPECT_GE(selectedPosition(*cell), 0) << profile.code << " " << cell->selected;
        }
    }
}

TEST(Catalogue, AudioOnlyProfilesAreExactlyTheNoVideoRows) {
    int audioOnly = 0;
    for (const ProfileRecord& profile : kProfiles) {
        const ProfileSettings& s = profile.settings;
        EXPECT_EQ(isAudioOnly(profile.presets), s.DisableVideo) << profile.code;
        if (!s.DisableVideo) {
            continue;
        }
        ++audioOnly;
        EXPECT_STREQ(profile.presets.videoBitrate.list->name, "VBR-NONE");
        EXPECT_STREQ(profile.presets.frameRate.list->name, "FPS-NONE");
        EXPECT_STREQ(profile.presets.aspect.list->name, "ASPECT-NONE");
        EXPECT_STREQ(s.VideoCodec, "");
        EXPECT_STREQ(s.FrameSize, "");
        EXPECT_EQ(s.VideoBitrate, -1);
    }
    EXPECT_EQ(audioOnly, 27);
}

TEST(Catalogue, TitleExtensionIsTheOutputExtension) {
    for (const ProfileRecord& profile : kProfiles) {
        const QString title = QString::fromUtf8(profile.title);
        EXPECT_TRUE(title.endsWith(')')) << profile.code;
        const QString expected = profile.code == 3300
                                     ? QStringLiteral(".mp4")  // titled .mp4, makes .avi
                                     : QString::fromUtf8(profile.settings.ext);
        EXPECT_EQ(titleExtension(title), expected) << profile.code;
    }
    const struct {
        const char* title;
        const char* ext;
    } cases[] = {
        {"FLAC-音频格式(*.flac)", ".flac"},    {"AIFF - 音频交换文件格式(*.aiff)", ".aiff"},
        {"RM - REAL视频格式(*.rm)", ".rm"},    {"RA - RealAudio音频格式(*.ra)", ".ra"},
        {"iPhone 标准MOV视频(*.mov)", ".mov"}, {"高清晰WAV音频格式(*.wav)", ".wav"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(titleExtension(QString::fromUtf8(c.title)), QString::fromUtf8(c.ext)) << c.title;
    }
}

TEST(Catalogue, SettingsThatDifferFromTheirTitles) {
    const auto settings = [](int code) { return findProfile(code)->settings; };
    EXPECT_EQ(settings(308).VideoBitrate, 7680000);
    EXPECT_STREQ(settings(312).FrameSize, "640*480");
    EXPECT_STREQ(settings(313).FrameSize, "320*240");
    EXPECT_STREQ(settings(3300).ext, ".avi");
    EXPECT_STREQ(settings(106).ext, ".ra");
    EXPECT_STREQ(settings(106).FileExt, ".rm");
    EXPECT_STREQ(settings(1102).FileExt, "");
    for (const int disc : {11, 12, 13}) {
        EXPECT_EQ(settings(disc).VideoBitrate, -1000);
        EXPECT_EQ(settings(disc).AudioBitrate, -1000);
        EXPECT_STREQ(settings(disc).NormType, "PAL");
        EXPECT_STREQ(settings(disc).FileExt, "");
        EXPECT_STREQ(settings(disc).ext, ".mpg");
    }
    EXPECT_STREQ(settings(11).TargetType, "dvd");
    EXPECT_STREQ(settings(12).TargetType, "svcd");
    EXPECT_STREQ(settings(13).TargetType, "vcd");
    EXPECT_STREQ(settings(14).VideoCodec, "rv20");
    EXPECT_EQ(settings(14).VideoBitrate, -1);
    // 309 takes its own preset row's defaults.
    const ProfileSettings s309 = settings(309);
    EXPECT_STREQ(s309.ext, ".mp4");
    EXPECT_STREQ(s309.VideoCodec, "mpeg4");
    EXPECT_STREQ(s309.FrameSize, "640*480");
    EXPECT_EQ(s309.VideoBitrate, 1200000);
    EXPECT_STREQ(s309.FrameRate, "25");
    EXPECT_STREQ(s309.AudioCodec, "libfaac");
    EXPECT_STREQ(s309.AudioChannels, "2");
    EXPECT_STREQ(s309.AudioSampleRate, "48000");
    EXPECT_EQ(s309.AudioBitrate, 128000);
}

TEST(Catalogue, JsonDescribesEveryProfile) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(catalogueJson(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray categories = document.object().value("categories").toArray();
    ASSERT_EQ(categories.size(), 15);
    int profiles = 0;
    for (const QJsonValue& category : categories) {
        profiles += category.toObject().value("profiles").toArray().size();
    }
    EXPECT_EQ(profiles, 129);
    const QJsonObject first = categories[0].toObject();
    EXPECT_EQ(first.value("caption").toString(), QStringLiteral("WAV音频"));
    EXPECT_EQ(first.value("group").toInt(), 30);
    EXPECT_EQ(first.value("icon").toInt(), 53);
    const QJsonObject p3000 = first.value("profiles").toArray()[0].toObject();
    EXPECT_EQ(p3000.value("code").toInt(), 3000);
    EXPECT_EQ(p3000.value("title_ext").toString(), QStringLiteral(".wav"));
    const QJsonObject s = p3000.value("settings").toObject();
    EXPECT_EQ(s.value("AudioSampleRate").toString(), QStringLiteral("48000"));
    EXPECT_EQ(s.value("VideoBitrate").toInt(), -1);
    EXPECT_TRUE(s.value("DisableVideo").toBool());
    const QJsonObject frameSize = p3000.value("presets").toObject().value("frame_size").toObject();
    EXPECT_EQ(frameSize.value("selected").toString(), QStringLiteral("该格式无视频"));
    EXPECT_EQ(frameSize.value("entries").toArray().size(), 1);
    EXPECT_TRUE(catalogueJson().startsWith("{\"categories\":[{\"index\":0,\"caption\":"));
    EXPECT_EQ(catalogueListing().count('\n'), 129);
}

// Programs read `profiles --json` byte for byte: its text, escaping and key order stay those of
// the stored copy (made before the writer changed hands). A catalogue change updates the copy.
TEST(Catalogue, JsonStaysByteForByteAsStored) {
    QFile stored(QStringLiteral(TALWYN_TEST_SOURCE_DIR "/catalogue/profiles.json"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly)) << stored.fileName().toStdString();
    const QByteArray expected = stored.readAll();
    const QByteArray written = catalogueJson();
    if (written != expected) {
        qsizetype at = 0;
        while (at < written.size() && at < expected.size() && written[at] == expected[at]) {
            ++at;
        }
        FAIL() << "differs at byte " << at << ": \"" << written.mid(at, 60).toStdString()
               << "\" instead of \"" << expected.mid(at, 60).toStdString() << "\"";
    }
}
