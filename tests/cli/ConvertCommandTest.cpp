#include "support/CliRun.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/stat.h>

using talwyn::test::MediaFiles;

using talwyn::test::Outcome;
using talwyn::test::runCli;
using talwyn::test::startCli;

TEST(ConvertCommand, ExitStatusTellsWhetherEveryFileConverted) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("not music.mp3"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just words, no sound\n");
    file.close();
    const QString out = dir.filePath(QStringLiteral("out"));

    const Outcome mixed = runCli({"convert", "--profile", "2900", "-o", out, media.tone, junk});
    EXPECT_EQ(mixed.status, 1) << mixed.output.toStdString();
    EXPECT_TRUE(mixed.output.contains(QStringLiteral("not music.mp3")))
        << mixed.output.toStdString();
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/tone.mp3")));

    const Outcome good = runCli({"convert", "--profile", "2900", "--preset", "sample_rate=22050",
                                 "--jobs", "2", "-o", out, media.tone, media.clip});
    EXPECT_EQ(good.status, 0) << good.output.toStdString();
    EXPECT_FALSE(good.output.contains(QStringLiteral("注意"))) << good.output.toStdString();

    // An entry the format cannot use as it stands is said before the start, with its stand-in.
    const Outcome mpeg1 = runCli(
        {"convert", "--profile", "6", "--preset", "frame_rate=15.00", "-o", out, media.shortClip});
    EXPECT_EQ(mpeg1.status, 0) << mpeg1.output.toStdString();
    EXPECT_TRUE(mpeg1.output.contains(QStringLiteral("注意  \"15.00\" 无法照用，实际使用 23.976")))
        << mpeg1.output.toStdString();
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/tone_1.mp3")));  // tone.mp3 was there
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/clip.mp3")));

    const struct {
        QStringList arguments;
    } refused[] = {
        {{"convert", "--profile", "9999", "-o", out, media.tone}},
        {{"convert", "--profile", "2900", "--preset", "sample_rate=12345", "-o", out, media.tone}},
        {{"convert", "--profile", "2900", "--preset", "colour=red", "-o", out, media.tone}},
        {{"convert", "--profile", "2900", media.tone}},
        {{"convert", "--profile", "2900", "--jobs", "0", "-o", out, media.tone}},
    };
    for (const auto& r : refused) {
        const Outcome outcome = runCli(r.arguments);
        EXPECT_EQ(outcome.status, 2) << r.arguments.join(' ').toStdString();
        EXPECT_FALSE(outcome.output.isEmpty());
    }
}

// A pipe among the files is skipped with a word, never opened; the others convert.
TEST(ConvertCommand, SpecialFilesAreSkipped) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const Outcome outcome =
        runCli({"convert", "--profile", "2900", "-o", dir.filePath("out"), pipe, media.tone});
    EXPECT_EQ(outcome.status, 1) << outcome.output.toStdString();
    EXPECT_TRUE(outcome.output.contains(QStringLiteral("不是普通文件")))
        << outcome.output.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("out/tone.mp3")));
}

TEST(ConvertCommand, InputsAreNeverOverwritten) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("song.wav"));
    ASSERT_TRUE(QFile::copy(media.tone, input));
    const qint64 size = QFileInfo(input).size();
    const Outcome outcome =
        runCli({"convert", "--profile", "3000", "--overwrite", "-o", dir.path(), input});
    EXPECT_EQ(outcome.status, 0) << outcome.output.toStdString();
    EXPECT_EQ(QFileInfo(input).size(), size);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("song_1.wav"))));

    // The same folder by another road (a link) is the same folder.
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("alias"))));
    const Outcome linked = runCli({"convert", "--profile", "3000", "--overwrite", "-o",
                                   dir.filePath(QStringLiteral("alias")), input});
    EXPECT_EQ(linked.status, 0) << linked.output.toStdString();
    EXPECT_EQ(QFileInfo(input).size(), size);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("song_2.wav"))));
}

// Names are files, whatever they look like: "--" ends the options, and a link at the output name
// that leads nowhere is not replaced.
TEST(ConvertCommand, NamesAreFilesAndLinksAreKept) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString dashed = dir.filePath(QStringLiteral("-song.wav"));
    ASSERT_TRUE(QFile::copy(media.tone, dashed));
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("nowhere")), out + QStringLiteral("/-song.mp3")));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const Outcome outcome =
        runCli({"convert", "--profile", "2900", "-o", out, "--", QStringLiteral("-song.wav")});
    QDir::setCurrent(before);
    EXPECT_EQ(outcome.status, 0) << outcome.output.toStdString();
    EXPECT_TRUE(QFileInfo(out + QStringLiteral("/-song.mp3")).isSymLink());
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/-song_1.mp3")));
}

TEST(ConvertCommand, TerminationLeavesNoFiles) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    // Caught while the hidden file is being written; then the tool is asked to end.
    const std::unique_ptr<QProcess> process = talwyn::test::startLongConversion(dir.path());
    ASSERT_TRUE(process);
    ::kill(pid_t(process->processId()), SIGTERM);
    ASSERT_TRUE(process->waitForFinished(30000));
    EXPECT_EQ(process->exitCode(), 143);
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
