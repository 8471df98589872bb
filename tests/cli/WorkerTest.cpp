#include "cli/ExistingOutput.h"
#include "cli/WorkList.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/MediaMaker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <set>

using namespace talwyn;

// N workers given the same list convert every file once: each path lies in exactly one shard,
// by a function of its bytes alone (the same values on every machine and in every run).
TEST(Worker, EveryPathIsInExactlyOneShard) {
    std::vector<std::string> paths;
    for (int i = 0; i < 2000; ++i) {
        paths.push_back("/data/calls/" + std::to_string(i % 37) + "/录音 " + std::to_string(i) +
                        ".wav");
    }
    for (const unsigned count : {1u, 2u, 4u, 7u, 16u}) {
        std::vector<int> sizes(count, 0);
        for (const std::string& path : paths) {
            int owners = 0;
            for (unsigned k = 0; k < count; ++k) {
                if (cli::inShard(path, {k, count})) {
                    ++owners;
                    ++sizes[k];
                }
            }
            EXPECT_EQ(owners, 1) << path << " in " << count;
        }
        for (const int size : sizes) {  // spread, not all in one
            EXPECT_GT(size, int(paths.size() / count / 2)) << count;
        }
    }
    // Fixed values: a change of the function would send files to other workers mid-job.
    EXPECT_EQ(cli::pathHash(""), 14695981039346656037ull);
    EXPECT_EQ(cli::pathHash("a"), 12638187200555641996ull);
    EXPECT_EQ(cli::pathHash("/data/x.wav") % 4, cli::pathHash("/data/x.wav") % 4);

    struct Text {
        const char* text;
        bool valid;
    };
    for (const Text& t : {Text{"0/4", true},
                          {"3/4", true},
                          {"4/4", false},
                          {"1/0", false},
                          {"-1/4", false},
                          {"2", false},
                          {"1/4x", false},
                          {"", false}}) {
        EXPECT_EQ(cli::parseShard(t.text).has_value(), t.valid) << t.text;
    }
}

// A list may end lines the Windows way, hold empty lines, or be NUL-separated (names with
// line breaks).
TEST(Worker, ListsKeepEveryNameAsWritten) {
    QTemporaryDir dir;
    const QString lines = dir.filePath("lines.txt");
    test::writeBytes(lines, "a.wav\r\n\nb c.wav\n/x/d.wav");
    std::vector<std::string> paths;
    std::string error;
    ASSERT_TRUE(cli::readPathList(lines.toStdString(), false, paths, error)) << error;
    EXPECT_EQ(paths, (std::vector<std::string>{"a.wav", "b c.wav", "/x/d.wav"}));
    const QString nul = dir.filePath("nul.txt");
    test::writeBytes(nul, QByteArray("one\ntwo.wav\0three.wav\0", 23));
    paths.clear();
    ASSERT_TRUE(cli::readPathList(nul.toStdString(), true, paths, error)) << error;
    EXPECT_EQ(paths, (std::vector<std::string>{"one\ntwo.wav", "three.wav"}));
    EXPECT_FALSE(cli::readPathList(dir.filePath("missing").toStdString(), false, paths, error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

// A resumed run leaves out what an earlier run completed, and converts again what is missing or
// was cut short (the cut-off file stays; the new output takes the next name).
TEST(Worker, SkipExistingTellsCompleteFromCutShort) {
    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    const QString out = dir.filePath("out");
    QDir().mkpath(in);
    test::MediaSpec spec;
    spec.seconds = 4;
    spec.video = false;
    spec.sampleRate = 22050;
    for (const char* name : {"done", "cut", "missing"}) {
        ASSERT_EQ(test::makeMedia((in + "/" + name + ".wav").toStdString(), spec), "");
    }
    const QStringList list = {in + "/done.wav", in + "/cut.wav", in + "/missing.wav"};
    ASSERT_EQ(test::runCli({"convert", "--profile", "3000", "-o", out, list[0], list[1]}).status,
              0);
    // An output cut off half way (a copy from a dying disk, say): its header still says 4 s.
    QFile cut(out + "/cut.wav");
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    cut.close();
    EXPECT_EQ(cli::completeOutputOf((out + "/done.wav").toStdString(), 4'000'000),
              (out + "/done.wav").toStdString());
    EXPECT_EQ(cli::completeOutputOf((out + "/cut.wav").toStdString(), 4'000'000), "");
    EXPECT_EQ(cli::completeOutputOf((out + "/missing.wav").toStdString(), 4'000'000), "");
    EXPECT_NEAR(cli::measuredDuration((out + "/cut.wav").toStdString()) / 1e6, 2.0, 0.1);

    const QByteArray doneBytes = test::readBytes(out + "/done.wav");
    const QString report = dir.filePath("report.jsonl");
    const test::Outcome again =
        test::runCli({"convert", "--profile", "3000", "--skip-existing", "--report", report, "-o",
                      out, list[0], list[1], list[2]});
    EXPECT_EQ(again.status, 0) << again.output.toStdString();
    EXPECT_EQ(test::readBytes(out + "/done.wav"), doneBytes);  // neither converted nor replaced
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden),
              QStringList({"cut.wav", "cut_1.wav", "done.wav", "missing.wav"}));
    std::map<std::string, std::string> statuses;
    QFile lines(report);
    ASSERT_TRUE(lines.open(QIODevice::ReadOnly));
    while (!lines.atEnd()) {
        const QJsonObject entry = QJsonDocument::fromJson(lines.readLine()).object();
        statuses[QFileInfo(entry["input"].toString()).fileName().toStdString()] =
            entry["status"].toString().toStdString();
        EXPECT_NEAR(entry["input_duration"].toDouble(), 4.0, 0.01);
        EXPECT_NEAR(entry["output_duration"].toDouble(), 4.0, 0.05);
    }
    EXPECT_EQ(statuses, (std::map<std::string, std::string>{{"cut.wav", "converted"},
                                                            {"done.wav", "skipped"},
                                                            {"missing.wav", "converted"}}));
    // And once more: the cut-short file's complete twin is found under its next name.
    const test::Outcome third = test::runCli(
        {"convert", "--profile", "3000", "--skip-existing", "-o", out, list[0], list[1], list[2]});
    EXPECT_EQ(third.status, 0);
    EXPECT_EQ(third.output.count("已有"), 3) << third.output.toStdString();
}
