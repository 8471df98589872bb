#include "cli/ProgressPrinter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace talwyn;

namespace {

std::string contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
    }
    return text;
}

media::TProgressInfo at(int task, double seconds, double total) {
    media::TProgressInfo info;
    info.TaskIndex = task;
    info.CurrentDuration = int64_t(seconds * 1e6);
    info.TotalDuration = int64_t(total * 1e6);
    return info;
}

}  // namespace

// On a terminal the run shows, under the running files, how many files have ended, how much of
// the whole length is converted, and the time left at the pace so far.
TEST(ProgressPrinter, ShowsFilesEndedTheWholeShareAndTimeLeft) {
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(out);
    double now = 100;
    cli::ProgressPrinter printer(out, true, [&] { return now; });
    printer.setName(0, "a.wav", 10'000'000);
    printer.setName(1, "b.wav", 10'000'000);
    printer.setName(2, "c.wav", 20'000'000);
    printer.progress(at(0, 5, 10));
    EXPECT_NE(contents(out).find("总进度 0/3 个文件  12%"), std::string::npos);
    now = 110;
    printer.progress(at(0, 10, 10));
    printer.finished(0, "out/a.wav");
    // A quarter of 40 s done in 10 s: 30 s left.
    const std::string text = contents(out);
    EXPECT_NE(text.find("完成  a.wav -> out/a.wav"), std::string::npos) << text;
    EXPECT_NE(text.find("总进度 1/3 个文件  25%  剩余约 00:00:30"), std::string::npos) << text;
    now = 130;
    printer.progress(at(2, 10, 20));
    EXPECT_NE(contents(out).find("总进度 1/3 个文件  50%  剩余约 00:00:30"), std::string::npos);
    std::fclose(out);

    // Not a terminal (a log file): the lines of old, no redrawn block.
    std::FILE* log = std::tmpfile();
    cli::ProgressPrinter plain(log, false, [] { return 0.0; });
    plain.setName(0, "a.wav", 10'000'000);
    plain.progress(at(0, 5, 10));
    plain.finished(0, "out/a.wav");
    EXPECT_EQ(contents(log), " 50%  a.wav\n完成  a.wav -> out/a.wav\n");
    std::fclose(log);
}
