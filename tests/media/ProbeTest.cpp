#include "media/Probe.h"
#include "support/MediaFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using talwyn::media::Probe;
using talwyn::test::MediaFiles;

namespace {

QByteArray head(const QString& path, int bytes) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.read(bytes);
}

}  // namespace

TEST(Probe, DescribesGoodFiles) {
    const MediaFiles& media = MediaFiles::get();
    Probe probe;
    ASSERT_TRUE(probe.LoadFile(media.clip.toStdString())) << probe.LastErrMsg();
    const auto& info = probe.FileStreamInfo();
    EXPECT_NEAR(info.Duration / 1e6, 2.0, 0.1);
    EXPECT_GE(info.BestVideo, 0);
    EXPECT_GE(info.BestAudio, 0);
    EXPECT_EQ(probe.FileSize(), QFileInfo(media.clip).size());
    const std::string text = probe.FileInfoText();
    EXPECT_NE(text.find("320x240"), std::string::npos) << text;
    EXPECT_NE(text.find("44100 Hz"), std::string::npos) << text;

    ASSERT_TRUE(probe.LoadFile(media.tone.toStdString())) << probe.LastErrMsg();
    EXPECT_EQ(probe.FileStreamInfo().BestVideo, -1);
    EXPECT_GE(probe.FileStreamInfo().BestAudio, 0);
}

TEST(Probe, RefusesWhatIsNotAudioOrVideo) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    QByteArray random(64 * 1024, '\0');
    QRandomGenerator generator(7);
    for (char& byte : random) {
        byte = char(generator.bounded(256));
    }
    const struct {
        const char* name;
        QByteArray content;  // a null array: make a folder of that name
    } cases[] = {
        {"empty.wav", QByteArray("")},
        {"text.mp3", QByteArray("这不是音乐，只是一段文字。\nJust some text.\n").repeated(50)},
        {"readme.txt",
         QByteArray("plain text that a text demuxer would show as a picture\n").repeated(20)},
        {"noise.avi", random},
        {"folder.avi", QByteArray()},
        {"truncated.avi", head(media.clip, 200)},
        {"header-only.wav", head(media.tone, 44)},
        {"歌曲 (副本).mp3", QByteArray("ID3").append(random.left(2000))},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        if (c.content.isNull()) {
            QDir().mkpath(path);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        Probe probe;
        EXPECT_FALSE(probe.LoadFile(path.toStdString())) << c.name;
        EXPECT_FALSE(probe.LastErrMsg().empty()) << c.name;
    }
    Probe probe;
    EXPECT_FALSE(probe.LoadFile(dir.filePath(QStringLiteral("missing.mp3")).toStdString()));
}
