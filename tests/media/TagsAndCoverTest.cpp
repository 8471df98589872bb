#include "media/Probe.h"
#include "support/MediaMaker.h"
#include "support/ProfileConversion.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace talwyn;

namespace {

const std::vector<std::pair<std::string, std::string>> kTags = {
    {"title", "第一首 Intro"}, {"artist", "王菲"}, {"album", "唱游"},        {"track", "3"},
    {"date", "1998"},          {"genre", "流行"},  {"comment", "收藏版 CD"},
};

std::string tagOf(const media::TFileStreamInfo& info, const std::string& key) {
    for (const auto& [name, value] : info.Tags) {
        if (name == key) {
            return value;
        }
    }
    return "(none)";
}

}  // namespace

// A tagged album track with a cover, from FLAC and from MP3, into every kind of audio container:
// every tag arrives; the cover arrives where the container holds one, as the same JPEG; it never
// becomes a video stream.
TEST(TagsAndCover, ArriveInEveryAudioContainer) {
    QTemporaryDir dir;
    struct Output {
        int code;
        const char* extension;
        bool holdsCover;
    };
    const Output outputs[] = {
        {2900, ".mp3", true},  {110, ".flac", true},  {104, ".m4a", true},  {105, ".ogg", true},
        {2800, ".wma", false}, {3000, ".wav", false}, {108, ".aiff", true},
    };
    for (const char* sourceExtension : {".flac", ".mp3"}) {
        test::MediaSpec spec;
        spec.seconds = 0.5;
        spec.video = false;
        spec.coverWidth = 64;
        spec.coverHeight = 48;
        spec.tags = kTags;
        const std::string source =
            dir.filePath(QStringLiteral("album%1").arg(sourceExtension)).toStdString();
        ASSERT_EQ(test::makeMedia(source, spec), "");
        media::Probe input;
        ASSERT_TRUE(input.LoadFile(source)) << input.LastErrMsg();
        ASSERT_EQ(input.FileStreamInfo().Cover.codec, "mjpeg") << input.FileInfoText();
        EXPECT_NE(input.FileInfoText().find("封面: "), std::string::npos);
        EXPECT_NE(input.FileInfoText().find("标签 artist: 王菲"), std::string::npos);

        for (const Output& output : outputs) {
            const std::string label = std::string(sourceExtension) + " to " + output.extension;
            const std::string path = dir.filePath(QStringLiteral("out_%1%2")
                                                      .arg(QString::fromLatin1(sourceExtension + 1))
                                                      .arg(output.extension))
                                         .toStdString();
            ASSERT_EQ(test::convertWithProfile(source, output.code, {}, path), "") << label;
            media::Probe probe;
            ASSERT_TRUE(probe.LoadFile(path)) << label << ": " << probe.LastErrMsg();
            const media::TFileStreamInfo& info = probe.FileStreamInfo();
            EXPECT_EQ(info.BestVideo, -1) << label;
            for (const auto& stream : info.Streams) {
                EXPECT_FALSE(stream.video) << label;
            }
            for (const auto& [key, value] : kTags) {
                const std::string arrived = tagOf(info, key);
                // Some containers store the track as "3/12" or with a total of 0.
                EXPECT_EQ(key == "track" ? arrived.substr(0, 1) : arrived, value)
                    << label << " " << key << "\n"
                    << probe.FileInfoText();
            }
            if (output.holdsCover) {
                EXPECT_EQ(info.Cover.codec, "mjpeg") << label << "\n" << probe.FileInfoText();
                EXPECT_EQ(info.Cover.width, 64) << label;
                EXPECT_EQ(info.Cover.height, 48) << label;
                EXPECT_EQ(info.Cover.bytes, input.FileStreamInfo().Cover.bytes) << label;
            } else {
                EXPECT_EQ(info.Cover.index, -1) << label;
            }
        }
    }
}
