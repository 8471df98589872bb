#include "cli/ProgressPrinter.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace talwyn::cli {

ProgressPrinter::ProgressPrinter(std::FILE* out)
    : ProgressPrinter(out, isatty(fileno(out)), [] {
          return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
      }) {}

ProgressPrinter::ProgressPrinter(std::FILE* out, bool terminal, Clock clock)
    : out_(out), terminal_(terminal), clock_(std::move(clock)) {}

void ProgressPrinter::setName(int task, const std::string& name, int64_t duration) {
    std::lock_guard lock(mutex_);
    rows_[task].name = name;
    rows_[task].duration = std::max<int64_t>(0, duration);
}

std::string ProgressPrinter::summary() const {
    int ended = 0;
    int64_t total = 0, done = 0;
    for (const auto& [task, row] : rows_) {
        ended += row.ended ? 1 : 0;
        total += row.duration;
        done += row.ended ? row.duration : std::min(row.done, row.duration);
    }
    const double share = total > 0 ? double(done) / double(total) : 0.0;
    std::string line = "总进度 " + std::to_string(ended) + "/" + std::to_string(rows_.size()) +
                       " 个文件  " + std::to_string(int(share * 100)) + "%";
    const double spent = started_ >= 0 ? clock_() - started_ : 0;
    if (share > 0.01 && share < 1 && spent > 1) {
        const auto left = int64_t(spent * (1 - share) / share + 0.5);
        char text[32];
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", (long long)(left / 3600),
                      (long long)(left / 60 % 60), (long long)(left % 60));
        line += std::string("  剩余约 ") + text;
    }
    return line;
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
    if (started_ >= 0) {
        std::fprintf(out_, "%s\n", summary().c_str());
        ++drawnLines_;
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
    row.done = info.CurrentDuration;
    if (started_ < 0) {
        started_ = clock_();
    }
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
        rows_[task].ended = true;
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
