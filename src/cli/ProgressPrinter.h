#pragma once

#include "media/ConverterEvents.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// Shows how the files of a conversion get on: on a terminal one line per running file, redrawn
// in place; otherwise plain lines at each quarter and at the end.

namespace talwyn::cli {

class ProgressPrinter {
  public:
    using Clock = std::function<double()>;  // seconds
    explicit ProgressPrinter(std::FILE* out);
    // For tests: a terminal or not whatever out is, and a clock of their own.
    ProgressPrinter(std::FILE* out, bool terminal, Clock clock);

    // A file of the run, with its length (microseconds, 0 when unknown) for the overall figure.
    void setName(int task, const std::string& name, int64_t duration = 0);
    void progress(const media::TProgressInfo& info);
    void finished(int task, const std::string& outputPath);
    void failed(int task, const std::string& reason);
    // Written as far as the input could be read.
    void incomplete(int task, const std::string& outputPath, const std::string& reason);
    void message(const std::string& line);

  private:
    struct Row {
        std::string name;
        int percent = -1;
        bool running = false;
        bool ended = false;
        int64_t duration = 0, done = 0;  // microseconds
    };
    void redraw();
    // "总进度 3/12 个文件  42%  剩余约 01:23": files ended of all, the share of the whole
    // length converted, and the time left at the pace so far.
    std::string summary() const;
    void clearBlock();
    std::string rowName(int task);
    // The task is no longer running; its last line is printed above the running ones.
    void ended(int task, const std::string& line);

    std::FILE* out_;
    bool terminal_;
    Clock clock_;
    double started_ = -1;
    std::mutex mutex_;
    std::map<int, Row> rows_;
    int drawnLines_ = 0;
};

}  // namespace talwyn::cli
