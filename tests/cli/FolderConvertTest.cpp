#include "media/Probe.h"
#include "support/AlbumTree.h"
#include "support/FileBytes.h"
#include "support/MediaMaker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int status;
    QString out;
    QString err;
};

// Standard output and error apart: what the tool leaves out of a folder goes to the error.
Outcome runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TALWYN_CLI_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every file under the folder, hidden ones too, relative to it and sorted.
QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

}  // namespace

TEST(FolderConvert, FoldersGiveTheirTreeFlatOrInPlace) {
    QTemporaryDir media;
    const std::string tone = media.filePath(QStringLiteral("tone.wav")).toStdString();
    talwyn::test::MediaSpec sound;
    sound.seconds = 0.3;
    sound.video = false;
    ASSERT_EQ(talwyn::test::makeMedia(tone, sound), "");

    const struct {
        QStringList arguments;  // "TREE" and "DIR" stand for the album tree and its parent
        int status;
        QStringList outputs;
        const char* said;  // on standard error
    } cases[] = {
        // The notes beside the music are left out with a word, and the run still succeeds.
        {{"--keep-structure", "TREE", "DIR/loose.wav"},
         0,
         {"Album 10/10 x.wav", "Album 10/2 x.wav", "Album 2/10 x.wav", "Album 2/2 x.wav",
          "Album 2/Disc 1/1 x.wav", "Album 2/Disc 2/1 x.wav", "Zebra.wav", "loose.wav"},
         "notes.txt"},
        {{"TREE"},
         0,
         {"1 x.wav", "1 x_1.wav", "10 x.wav", "10 x_1.wav", "2 x.wav", "2 x_1.wav", "Zebra.wav"},
         "notes.txt"},
        // Named outright, the same notes make the run fail, as any refused file does.
        {{"--keep-structure", "TREE", "TREE/notes.txt"},
         1,
         {"Album 10/10 x.wav", "Album 10/2 x.wav", "Album 2/10 x.wav", "Album 2/2 x.wav",
          "Album 2/Disc 1/1 x.wav", "Album 2/Disc 2/1 x.wav", "Zebra.wav"},
         "notes.txt"},
        // A folder with nothing to convert: that is a failure.
        {{"DIR/words"}, 1, {}, "没有可以转换的文件"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString top = dir.filePath(QStringLiteral("Music"));
        ASSERT_EQ(talwyn::test::makeAlbumTree(top.toStdString(), tone), "");
        ASSERT_TRUE(QFile::copy(QString::fromStdString(tone), dir.filePath("loose.wav")));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("words")));
        ASSERT_TRUE(talwyn::test::writeBytes(dir.filePath("words/readme.txt"), "no sound\n"));
        const QString out = dir.filePath(QStringLiteral("out"));
        QStringList arguments = {"convert", "--profile", "3000", "-o", out};
        for (QString argument : c.arguments) {
            arguments << argument.replace("TREE", top).replace("DIR", dir.path());
        }
        const Outcome run = runCli(arguments);
        const std::string shown = c.arguments.join(' ').toStdString() + "\n" +
                                  run.out.toStdString() + run.err.toStdString();
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_EQ(filesUnder(out), c.outputs) << shown;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.said))) << shown;
        for (const QString& output : c.outputs) {
            talwyn::media::Probe probe;
            EXPECT_TRUE(probe.LoadFile((out + '/' + output).toStdString())) << output.toStdString();
            EXPECT_GT(probe.FileStreamInfo().Duration, 0) << output.toStdString();
        }
    }
}
