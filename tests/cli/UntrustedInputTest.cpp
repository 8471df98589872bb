#include "media/Probe.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

extern "C" {
#include <libavformat/avformat.h>
}

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

using namespace talwyn;
using test::MediaFiles;
using test::Outcome;
using test::runCli;

namespace {

// A pipe that tells whether anybody opened it for reading: a writer waits on it, and is let go
// only by a reader.
class Trap {
  public:
    explicit Trap(const QString& path) : path_(QFile::encodeName(path).toStdString()) {
        ::mkfifo(path_.c_str(), 0644);
        writer_ = std::thread([this] {
            const int fd = ::open(path_.c_str(), O_WRONLY);
            if (!closing_) {
                opened_ = true;
            }
            if (fd >= 0) {
                ::close(fd);
            }
        });
    }
    ~Trap() {
        closing_ = true;
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);  // lets the writer go
        writer_.join();
        if (fd >= 0) {
            ::close(fd);
        }
    }
    bool opened() const { return opened_; }

  private:
    std::string path_;
    std::atomic<bool> opened_{false}, closing_{false};
    std::thread writer_;
};

// Video packets in a file, as its demuxer gives them.
int videoPackets(const QString& path) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.toUtf8().constData(), nullptr, nullptr) < 0) {
        return -1;
    }
    avformat_find_stream_info(context, nullptr);
    const int video = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int count = 0;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        count += packet->stream_index == video ? 1 : 0;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    return count;
}

// The AVI with every picture's data wiped out and its sound left alone.
QByteArray withoutPictures(QByteArray avi) {
    const qsizetype movi = avi.indexOf("movi");
    const qsizetype index = avi.indexOf("idx1", movi);
    for (qsizetype at = avi.indexOf("00dc", movi); at >= 0 && at < index;
         at = avi.indexOf("00dc", at + 8)) {
        const quint32 size = quint32(uchar(avi[at + 4])) | quint32(uchar(avi[at + 5])) << 8 |
                             quint32(uchar(avi[at + 6])) << 16 | quint32(uchar(avi[at + 7])) << 24;
        for (qsizetype i = at + 8; i < at + 8 + qsizetype(size) && i < index; ++i) {
            avi[i] = '\0';
        }
    }
    return avi;
}

}  // namespace

// A file the user adds is read as that file only: a playlist or reference list inside it opens
// nothing else, whatever its name says.
TEST(UntrustedInput, PlaylistsAndReferencesOpenNothingElse) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("x");
    const QString trapPath = dir.filePath("x/trap.wav");
    Trap trap(trapPath);
    const struct {
        const char* name;
        QByteArray text;
    } files[] = {
        {"song.mp3", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n" + trapPath.toUtf8() +
                         "\n#EXT-X-ENDLIST\n"},
        {"song.m3u8",
         "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nx/trap.wav\n"
         "#EXT-X-ENDLIST\n"},
        {"up.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n../" +
                        QFileInfo(dir.path()).fileName().toUtf8() +
                        "/x/trap.wav\n#EXT-X-ENDLIST\n"},
        {"url.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nfile://" + trapPath.toUtf8() +
                         "\n#EXT-X-ENDLIST\n"},
        {"list.mp3", "ffconcat version 1.0\nfile x/trap.wav\n"},
    };
    for (const auto& file : files) {
        test::writeBytes(dir.filePath(file.name), file.text);
        const QString path = dir.filePath(file.name);
        const Outcome probe = runCli({"probe", path});
        EXPECT_EQ(probe.status, 1) << file.name << probe.output.toStdString();
        const Outcome convert =
            runCli({"convert", "--profile", "3000", "-o", dir.filePath("out"), path});
        EXPECT_EQ(convert.status, 1) << file.name << convert.output.toStdString();
        EXPECT_FALSE(trap.opened()) << file.name;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("out/list.wav")));
}

// Names are paths, never URLs: "concat:…" or "file:…" name files like any other.
TEST(UntrustedInput, NamesArePaths) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    QFile::copy(media.tone, dir.filePath("a.wav"));                   // 2 s
    QFile::copy(media.longTone, dir.filePath("concat:a.wav|a.wav"));  // 30 s
    QFile::copy(media.longTone, dir.filePath("file:a.wav"));
    QDir::setCurrent(dir.path());
    for (const char* name : {"concat:a.wav|a.wav", "file:a.wav"}) {
        const Outcome probe = runCli({"probe", QString::fromUtf8(name)});
        EXPECT_EQ(probe.status, 0) << name;
        EXPECT_TRUE(probe.output.contains(QStringLiteral("00:00:30")))
            << probe.output.toStdString();
    }
    QDir::setCurrent(QDir::tempPath());
}

// Damaged and unusual media: every frame arrives, joined streams convert, a file cut short says
// so, an empty result is never a success.
TEST(UntrustedInput, DamagedMediaIsConvertedAsFarAsItGoesAndSaysSo) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString out = dir.filePath("out");

    // One frame, and three.
    for (const int frames : {1, 3}) {
        test::MediaSpec spec;
        spec.seconds = frames / 25.0;
        spec.width = 176;
        spec.height = 144;
        const QString input = dir.filePath(QStringLiteral("frames%1.avi").arg(frames));
        ASSERT_EQ(test::makeMedia(input.toStdString(), spec), "");
        const Outcome outcome = runCli({"convert", "--profile", "0", "-o", out, input});
        EXPECT_EQ(outcome.status, 0) << outcome.output.toStdString();
        EXPECT_EQ(videoPackets(out + QStringLiteral("/frames%1.avi").arg(frames)), frames);
    }

    // Two program streams joined end to end: time goes back in the middle.
    const Outcome mpeg = runCli({"convert", "--profile", "6", "-o", dir.path(), media.clip});
    ASSERT_EQ(mpeg.status, 0) << mpeg.output.toStdString();
    const QByteArray part = test::readBytes(dir.filePath("clip.mpg"));
    test::writeBytes(dir.filePath("joined.mpg"), part + part);
    const Outcome joined =
        runCli({"convert", "--profile", "0", "-o", out, dir.filePath("joined.mpg")});
    EXPECT_EQ(joined.status, 0) << joined.output.toStdString();
    media::Probe probe;
    ASSERT_TRUE(probe.LoadFile((out + "/joined.avi").toStdString())) << probe.LastErrMsg();
    EXPECT_NEAR(probe.FileStreamInfo().Duration / 1e6, 4.0, 0.5);

    // A packet the decoder refuses for another reason than bad data (half a sample at the end:
    // "invalid argument") is skipped and counted, not the end of the file.
    const QByteArray tone = test::readBytes(media.tone);
    test::writeBytes(dir.filePath("odd.wav"), tone.left(tone.size() - 1));
    const Outcome odd =
        runCli({"convert", "--profile", "2900", "-o", out, dir.filePath("odd.wav")});
    EXPECT_EQ(odd.status, 0) << odd.output.toStdString();
    EXPECT_TRUE(QFile::exists(out + "/odd.mp3"));

    // Pictures damaged beyond use, sound intact: an audio format gets the sound.
    test::writeBytes(dir.filePath("mute.avi"), withoutPictures(test::readBytes(media.clip)));
    const Outcome sound =
        runCli({"convert", "--profile", "3000", "-o", out, dir.filePath("mute.avi")});
    EXPECT_EQ(sound.status, 0) << sound.output.toStdString();
    media::Probe wav;
    ASSERT_TRUE(wav.LoadFile((out + "/mute.wav").toStdString())) << wav.LastErrMsg();
    EXPECT_NEAR(wav.FileStreamInfo().Duration / 1e6, 2.0, 0.3);

    // A Matroska file cut in half: converted as far as it goes, and said to be incomplete.
    test::MediaSpec ten;
    ten.seconds = 10;
    ten.width = 176;
    ten.height = 144;
    const QString whole = dir.filePath("ten.mkv");
    ASSERT_EQ(test::makeMedia(whole.toStdString(), ten), "");
    const QByteArray bytes = test::readBytes(whole);
    test::writeBytes(dir.filePath("half.mkv"), bytes.left(bytes.size() / 2));
    const Outcome half =
        runCli({"convert", "--profile", "2900", "-o", out, dir.filePath("half.mkv")});
    EXPECT_EQ(half.status, 1) << half.output.toStdString();
    EXPECT_TRUE(half.output.contains(QStringLiteral("不完整"))) << half.output.toStdString();
    EXPECT_TRUE(QFile::exists(out + "/half.mp3"));
}

// Any legal name works: long ones (the hidden file's name does not grow with it), and names
// that are not UTF-8.
TEST(UntrustedInput, AnyLegalNameConverts) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    QString chinese;
    for (int i = 0; i < 78; ++i) {
        chinese += QChar(0x6B4C);  // 歌, three bytes in UTF-8
    }
    const QString longName = dir.filePath(chinese + QStringLiteral(".wav"));
    ASSERT_EQ(QFile::encodeName(QFileInfo(longName).fileName()).size(), 238);
    ASSERT_TRUE(QFile::copy(media.tone, longName));
    const Outcome outcome =
        runCli({"convert", "--profile", "3000", "-o", dir.filePath("out"), longName});
    EXPECT_EQ(outcome.status, 0) << outcome.output.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("out/") + chinese + QStringLiteral(".wav")));

    // Raw bytes in, raw bytes out: run without any text conversion on the way.
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    const std::string latin1 = folder + "/caf\xe9.wav";
    ASSERT_TRUE(QFile::copy(media.tone, QString::fromStdString(folder + "/plain.wav")));
    ASSERT_EQ(::rename((folder + "/plain.wav").c_str(), latin1.c_str()), 0);
    const pid_t child = fork();
    if (child == 0) {
        ::freopen("/dev/null", "w", stdout);
        ::execl(TALWYN_CLI_PATH, TALWYN_CLI_PATH, "convert", "--profile", "2900", "-o",
                (folder + "/raw").c_str(), latin1.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    struct stat converted {};
    EXPECT_EQ(::stat((folder + "/raw/caf\xe9.mp3").c_str(), &converted), 0);
    // Names Qt cannot spell are removed here, before the folder goes.
    ::unlink(latin1.c_str());
    ::unlink((folder + "/raw/caf\xe9.mp3").c_str());
}

// The output folder taken away while a file is written: a failure, said, and exit status 1.
TEST(UntrustedInput, AnOutputFolderGoneMidRunFails) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    const std::unique_ptr<QProcess> process = test::startLongConversion(dir.path());
    ASSERT_TRUE(process);
    ASSERT_TRUE(QDir(out).removeRecursively());
    ASSERT_TRUE(process->waitForFinished(60000));
    const QString printed = QString::fromUtf8(process->readAll());
    EXPECT_EQ(process->exitCode(), 1) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("失败"))) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

// A run killed outright leaves its hidden files (the one it wrote and the claim on its name); the
// next run in that folder removes them, and its own output is complete.
TEST(UntrustedInput, AKilledRunLeavesNothingAfterTheNext) {
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("long.avi"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const std::unique_ptr<QProcess> process = test::startLongConversion(dir.path());
    ASSERT_TRUE(process);
    ::kill(pid_t(process->processId()), SIGKILL);
    ASSERT_TRUE(process->waitForFinished(30000));
    const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(left.size(), 2) << left.join(' ').toStdString();
    ASSERT_EQ(left.filter(QRegularExpression("^\\.talwyn-")).size(), 2);

    const Outcome again = runCli({"convert", "--profile", "2900", "-o", out, input});
    EXPECT_EQ(again.status, 0) << again.output.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({"long.mp3"}));
    media::Probe probe;
    ASSERT_TRUE(probe.LoadFile((out + "/long.mp3").toStdString()));
    EXPECT_NEAR(probe.FileStreamInfo().Duration / 1e6, 20.0, 0.5);
}
