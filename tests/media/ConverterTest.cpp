#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"
#include "media/Converter.h"
#include "support/ConverterRun.h"
#include "support/FileBytes.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"

#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <thread>

using namespace talwyn;
using test::ConverterRun;
using test::MediaFiles;

namespace {

constexpr int kMp3 = 2900;

media::TOutputOptions mp3Record() {
    return conversion::TaskOptions(
        conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(kMp3)));
}

// Adds one task per input, each writing "<n>.mp3" into the folder.
void addMp3Tasks(media::Converter& converter, const QStringList& inputs, const QString& folder) {
    for (const QString& input : inputs) {
        const int task = converter.AddTask(input.toStdString());
        ASSERT_GE(task, 0) << converter.LastErrMsg();
        ASSERT_TRUE(converter.SetOutputFile(
            task, (folder + QStringLiteral("/%1.mp3").arg(task)).toStdString(), mp3Record()))
            << converter.LastErrMsg();
    }
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(Converter, RunsAtMostTheChosenNumberAtOnce) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir out;
    media::Converter converter;
    ConverterRun run(converter);
    addMp3Tasks(converter, {media.longTone, media.longTone, media.longTone, media.longTone},
                out.path());
    // Held at their start, the first two tasks are under way together and the others wait.
    converter.Pause();
    ASSERT_TRUE(converter.Start(2));
    ASSERT_TRUE(run.waitForProgress(0));
    ASSERT_TRUE(run.waitForProgress(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(run.progress(2).empty());
    converter.Resume();
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.maxActive(), 2);
    EXPECT_EQ(run.finals(), 1);
    const auto ends = run.ends();
    ASSERT_EQ(ends.size(), 4u);
    for (const auto& [task, end] : ends) {
        EXPECT_TRUE(end.Finished) << task << end.ExceptionMsg;
    }
    EXPECT_EQ(filesIn(out.path()), QStringList({"0.mp3", "1.mp3", "2.mp3", "3.mp3"}));
    // Progress tells the truth: the last report of a task is its whole length and its file size.
    const auto last = run.progress(0).back();
    EXPECT_NEAR(last.CurrentDuration / 1e6, 30.0, 0.2);
    EXPECT_NEAR(double(last.TotalDuration) / 1e6, 30.0, 0.1);
    EXPECT_EQ(last.CurrentSize, QFileInfo(out.filePath("0.mp3")).size());
    EXPECT_EQ(last.FPS, 0);
}

TEST(Converter, PauseHaltsAndResumeContinues) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir out;
    media::Converter converter;
    ConverterRun run(converter);
    addMp3Tasks(converter, {media.longTone}, out.path());
    converter.Pause();
    ASSERT_TRUE(converter.Start(1));
    ASSERT_TRUE(run.waitForProgress(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(run.progress(0).size(), 1u);
    EXPECT_EQ(run.progress(0).back().CurrentDuration, 0);
    EXPECT_EQ(run.finals(), 0);
    EXPECT_EQ(filesIn(out.path()).filter(".mp3").filter(QRegularExpression("^[0-9]")).size(), 0);
    converter.Resume();
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_TRUE(run.ends().at(0).Finished);
    EXPECT_NEAR(run.progress(0).back().CurrentDuration / 1e6, 30.0, 0.2);
}

TEST(Converter, StopLeavesNothingAndANewStartWorks) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir out;
    media::Converter converter;
    ConverterRun run(converter);
    addMp3Tasks(converter, {media.longTone, media.longTone, media.longTone}, out.path());
    converter.Pause();  // holds the first task after it has begun its file
    ASSERT_TRUE(converter.Start(1));
    ASSERT_TRUE(run.waitForProgress(0));
    // The hidden file being written and the claim on its name.
    EXPECT_EQ(filesIn(out.path()).filter(QRegularExpression("^\\.talwyn-")).size(), 2);
    EXPECT_EQ(filesIn(out.path()).size(), 2);
    converter.Stop(true);
    EXPECT_FALSE(converter.Working());
    EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(' ').toStdString();
    const auto ends = run.ends();
    ASSERT_EQ(ends.size(), 1u);  // the waiting tasks never started
    EXPECT_FALSE(ends.at(0).Finished);
    EXPECT_FALSE(ends.at(0).Exception);
    EXPECT_EQ(run.finals(), 1);

    ASSERT_TRUE(converter.ClearTasks());
    ConverterRun again(converter);
    addMp3Tasks(converter, {media.tone}, out.path());
    ASSERT_TRUE(converter.Start(1));
    ASSERT_TRUE(again.waitForEnd());
    EXPECT_TRUE(again.ends().at(0).Finished);
    EXPECT_EQ(filesIn(out.path()), QStringList({"0.mp3"}));
}

TEST(Converter, AFailingTaskIsReportedAndTheRestFinish) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir out;
    QTemporaryDir in;
    const QString doomed = in.filePath(QStringLiteral("被删除.wav"));
    ASSERT_TRUE(QFile::copy(media.tone, doomed));
    media::Converter converter;
    ConverterRun run(converter);
    addMp3Tasks(converter, {media.tone, doomed, media.tone}, out.path());
    ASSERT_TRUE(QFile::remove(doomed));  // gone after it was added
    ASSERT_TRUE(converter.Start(2));
    ASSERT_TRUE(run.waitForEnd());
    const auto ends = run.ends();
    EXPECT_TRUE(ends.at(0).Finished);
    EXPECT_TRUE(ends.at(1).Exception);
    EXPECT_FALSE(ends.at(1).Finished);
    EXPECT_NE(ends.at(1).ExceptionMsg.find("被删除.wav"), std::string::npos)
        << ends.at(1).ExceptionMsg;
    EXPECT_TRUE(ends.at(2).Finished);
    EXPECT_EQ(run.finals(), 1);
    EXPECT_EQ(filesIn(out.path()), QStringList({"0.mp3", "2.mp3"}));
}

// Each task's end says why, in a kind that code can tell apart.
TEST(Converter, EachEndSaysWhy) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir in;
    QTemporaryDir out;
    const auto make = [&](const char* name, const QByteArray& bytes) {
        EXPECT_TRUE(test::writeBytes(in.filePath(name), bytes));
        return in.filePath(name);
    };
    const auto bytesOf = &test::readBytes;
    test::MediaSpec ten;
    ten.seconds = 10;
    ten.width = 176;
    ten.height = 144;
    const QString mkv = in.filePath("ten.mkv");
    ASSERT_EQ(test::makeMedia(mkv.toStdString(), ten), "");
    const QByteArray tone = bytesOf(media.tone);
    const QStringList inputs = {media.tone, make("gone.wav", tone), make("hollow.wav", tone),
                                make("half.mkv", bytesOf(mkv).left(bytesOf(mkv).size() / 2))};
    media::Converter converter;
    ConverterRun run(converter);
    addMp3Tasks(converter, inputs, out.path());
    // After they were added: one input vanishes, one keeps only its header.
    QFile::remove(inputs[1]);
    make("hollow.wav", tone.left(tone.indexOf("data") + 8));
    ASSERT_TRUE(converter.Start(2));
    ASSERT_TRUE(run.waitForEnd());
    const auto ends = run.ends();
    const struct {
        bool finished, exception, incomplete;
        media::ErrorKind kind;
    } expected[] = {
        {true, false, false, media::ErrorKind::None},
        {false, true, false, media::ErrorKind::InputUnreadable},
        {false, true, false, media::ErrorKind::InputDamaged},
        {true, false, true, media::ErrorKind::InputIncomplete},
    };
    for (int task = 0; task < 4; ++task) {
        SCOPED_TRACE(inputs[task].toStdString() + ": " + ends.at(task).ExceptionMsg);
        EXPECT_EQ(ends.at(task).Finished, expected[task].finished);
        EXPECT_EQ(ends.at(task).Exception, expected[task].exception);
        EXPECT_EQ(ends.at(task).Incomplete, expected[task].incomplete);
        EXPECT_EQ(ends.at(task).Kind, expected[task].kind);
    }
    EXPECT_LT(ends.at(3).ConvertedDuration, ends.at(3).TotalDuration * 3 / 4);
    // Nothing of the failed ones is left; the incomplete one keeps what could be read.
    EXPECT_EQ(filesIn(out.path()), QStringList({"0.mp3", "3.mp3"}));

    // The folder gone before the start: nothing can be written there.
    media::Converter late;
    ConverterRun lateRun(late);
    QTemporaryDir doomed;
    addMp3Tasks(late, {media.tone}, doomed.path());
    ASSERT_TRUE(doomed.remove());
    ASSERT_TRUE(late.Start(1));
    ASSERT_TRUE(lateRun.waitForEnd());
    EXPECT_EQ(lateRun.ends().at(0).Kind, media::ErrorKind::OutputUnwritable);
}

TEST(Converter, NoOutputEverReplacesAnInputOrAnotherOutput) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("song.wav"));
    ASSERT_TRUE(QFile::copy(media.tone, input));
    const QByteArray original = [&] {
        QFile file(input);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    {
        // An output naming its own input gets a name of its own, even when replacing is chosen.
        media::Converter own;
        ConverterRun ownRun(own);
        ASSERT_EQ(own.AddTask(input.toStdString()), 0);
        media::TOutputOptions wav = conversion::TaskOptions(
            conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(3000)));
        wav.Overwrite = true;
        ASSERT_TRUE(own.SetOutputFile(0, input.toStdString(), wav));
        ASSERT_TRUE(own.Start(1));
        ASSERT_TRUE(ownRun.waitForEnd());
        EXPECT_EQ(ownRun.ends().at(0).OutputFile, dir.filePath("song_1.wav").toStdString());
    }
    media::Converter converter;
    ConverterRun run(converter);
    const int first = converter.AddTask(input.toStdString());
    ASSERT_GE(first, 0);

    // Two tasks naming the same output, and a user's file of that name: each task takes a name
    // of its own when it starts, and says which.
    const QString shared = dir.filePath(QStringLiteral("same.mp3"));
    QFile users(shared);
    ASSERT_TRUE(users.open(QIODevice::WriteOnly));
    users.write("the user's own");
    users.close();
    ASSERT_TRUE(converter.SetOutputFile(first, shared.toStdString(), mp3Record()));
    const int second = converter.AddTask(media.tone.toStdString());
    ASSERT_TRUE(converter.SetOutputFile(second, shared.toStdString(), mp3Record()));
    ASSERT_TRUE(converter.Start(2));
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_TRUE(run.ends().at(first).Finished);
    EXPECT_TRUE(run.ends().at(second).Finished);
    const std::set<std::string> named = {run.ends().at(first).OutputFile,
                                         run.ends().at(second).OutputFile};
    EXPECT_EQ(named, (std::set<std::string>{dir.filePath("same_1.mp3").toStdString(),
                                            dir.filePath("same_2.mp3").toStdString()}));
    ASSERT_TRUE(users.open(QIODevice::ReadOnly));
    EXPECT_EQ(users.readAll(), QByteArray("the user's own"));

    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
}

TEST(Converter, RefusesSettingsThatCannotWork) {
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    media::Converter converter;
    EXPECT_EQ(converter.AddTask(dir.filePath("missing.avi").toStdString()), -1);
    EXPECT_FALSE(converter.LastErrMsg().empty());

    const int task = converter.AddTask(media.tone.toStdString());
    media::TOutputOptions bad = mp3Record();
    bad.AudioCodec = "no-such-encoder";
    EXPECT_FALSE(converter.SetOutputFile(task, dir.filePath("a.mp3").toStdString(), bad));
    EXPECT_NE(converter.LastErrMsg().find("no-such-encoder"), std::string::npos);
    EXPECT_FALSE(
        converter.SetOutputFile(task, dir.filePath("nowhere/a.mp3").toStdString(), mp3Record()));

    // A silent clip cannot become an audio-only file.
    const QString silent = dir.filePath("silent.avi");
    test::MediaSpec spec;
    spec.audio = false;
    ASSERT_EQ(test::makeMedia(silent.toStdString(), spec), "");
    const int picture = converter.AddTask(silent.toStdString());
    ASSERT_GE(picture, 0) << converter.LastErrMsg();
    EXPECT_FALSE(
        converter.SetOutputFile(picture, dir.filePath("b.mp3").toStdString(), mp3Record()));
    EXPECT_FALSE(converter.LastErrMsg().empty());

    EXPECT_TRUE(converter.LoadAVLib({"libmp3lame", "aac"}));
    EXPECT_FALSE(converter.LoadAVLib({"no-such-encoder"}));
}
