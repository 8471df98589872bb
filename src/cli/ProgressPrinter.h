#pragma once

#include "media/ConverterEvents.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

// Shows how the files of a conversion get on: on a terminal one line per running file, redrawn
// in place; otherwise plain lines at each quarter and at the end.

namespace talwyn::cli {

class ProgressPrinter {
  public:
    explicit ProgressPrinter(std::FILE* out);

    void setName(int task, const std::string& name);
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
    };
    void redraw();
    void clearBlock();
    std::string rowName(int task);
    // The task is no longer running; its last line is printed above the running ones.
    void ended(int task, const std::string& line);

    std::FILE* out_;
    bool terminal_;
    std::mutex mutex_;
    std::map<int, Row> rows_;
    int drawnLines_ = 0;
};

}  // namespace talwyn::cli
