#include "catalogue/OutputNaming.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace Naming = talwyn::catalogue::OutputNaming;

TEST(OutputNaming, OutputPathTakesTheProfileExtension) {
    const struct {
        const char* input;
        const char* ext;
        const char* expected;
    } cases[] = {
        {"/in/clip.avi", ".mp3", "/out/clip.mp3"},
        {"/in/a.b.c.wav", ".mp3", "/out/a.b.c.mp3"},
        {"/in/noext", ".wav", "/out/noext.wav"},
        {"/in/dir.d/noext", ".wav", "/out/noext.wav"},  // a dot in a folder is not an extension
        {"/in/.hidden", ".ogg", "/out/.ogg"},
        {"/in/歌 曲 (1).flac", ".wav", "/out/歌 曲 (1).wav"},
        {"/in/clip.avi", "", "/out/clip"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Naming::outputPath(QString::fromUtf8(c.input), QStringLiteral("/out"),
                                     QString::fromUtf8(c.ext)),
                  QString::fromUtf8(c.expected))
            << c.input;
    }
    EXPECT_EQ(Naming::withExtension(QStringLiteral("song.wav"), QStringLiteral(".mp3")),
              QStringLiteral("song.mp3"));
}

TEST(OutputNaming, ExistingFilesGetNumberedNames) {
    QTemporaryDir dir;
    const auto touch = [&](const char* name) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    const auto exists = [](const QString& path) { return QFileInfo::exists(path); };
    const QString clip = dir.filePath(QStringLiteral("clip.mp3"));

    EXPECT_EQ(Naming::uniquePath(clip, false, exists), clip);
    touch("clip.mp3");
    EXPECT_EQ(Naming::uniquePath(clip, false, exists), dir.filePath(QStringLiteral("clip_1.mp3")));
    EXPECT_EQ(Naming::uniquePath(clip, true, exists), clip);
    touch("clip_1.mp3");
    touch("clip_3.mp3");
    EXPECT_EQ(Naming::uniquePath(clip, false, exists), dir.filePath(QStringLiteral("clip_2.mp3")));

    touch("bare");
    EXPECT_EQ(Naming::uniquePath(dir.filePath(QStringLiteral("bare")), false, exists),
              dir.filePath(QStringLiteral("bare_1")));
}
