#include "cli/ProgressPrinter.h"

#include <unistd.h>

namespace talwyn::cli {

ProgressPrinter::ProgressPrinter(std::FILE* out) : out_(out), terminal_(isatty(fileno(out))) {}

void ProgressPrinter::setName(int task, const std::string& name) {
    std::lock_guard lock(mutex_);
    rows_[task].name = name;
}

void ProgressPrinter::clearBlock() {
    for (int i = 0; i < drawnLines_; ++i) {
        std::fputs("\x1b[1A\x1b[2K", out_);
    }
    drawnLines_ = 0;
}

void ProgressPrinter::redraw() {
    clearBlock();
    for (const auto& [task, row] : rows_) {
        if (row.running) {
            std::fprintf(out_, "  %3d%%  %s\n", std::max(0, row.percent), row.name.c_str());
            ++drawnLines_;
        }
    }
    std::fflush(out_);
}

void ProgressPrinter::progress(const media::TProgressInfo& info) {
    std::lock_guard lock(mutex_);
    Row& row = rows_[info.TaskIndex];
    const int percent =
        info.TotalDuration > 0
            ? int(std::min<int64_t>(100, info.CurrentDuration * 100 / info.TotalDuration))
            : 0;
    row.running = true;
    if (terminal_) {
        row.percent = percent;
        redraw();
    } else if (percent / 25 > row.percent / 25 && percent < 100) {
        row.percent = percent;
        std::fprintf(out_, "%3d%%  %s\n", percent, row.name.c_str());
        std::fflush(out_);
    }
}

void ProgressPrinter::finished(int task, const std::string& outputPath) {
    ended(task, "完成  " + rowName(task) + " -> " + outputPath);
}

void ProgressPrinter::failed(int task, const std::string& reason) {
    ended(task, "失败  " + rowName(task) + ": " + reason);
}

void ProgressPrinter::incomplete(int task, const std::string& outputPath,
                                 const std::string& reason) {
    ended(task, "不完整  " + rowName(task) + " -> " + outputPath + ": " + reason);
}

std::string ProgressPrinter::rowName(int task) {
    std::lock_guard lock(mutex_);
    return rows_[task].name;
}

void ProgressPrinter::ended(int task, const std::string& line) {
    {
        std::lock_guard lock(mutex_);
        rows_[task].running = false;
    }
    message(line);
}

void ProgressPrinter::message(const std::string& line) {
    std::lock_guard lock(mutex_);
    if (terminal_) {
        clearBlock();
    }
    std::fprintf(out_, "%s\n", line.c_str());
    if (terminal_) {
        redraw();
    }
    std::fflush(out_);
}

}  // namespace talwyn::cli
