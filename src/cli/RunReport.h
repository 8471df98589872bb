#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// One JSON object a line for every input of a run, written and flushed as each ends, so that the
// reports of many workers can be put together and checked:
// {"input","output","status","error","input_duration","output_duration","bytes","seconds",
//  "host","shard"}.

namespace talwyn::cli {

class RunReport {
  public:
    struct Entry {
        std::string input, output;
        std::string status;  // converted, skipped, refused or failed
        std::string error;
        double inputDuration = -1, outputDuration = -1;  // seconds; -1: unknown
        int64_t bytes = -1;
        double seconds = 0;
    };

    RunReport() = default;
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;
    ~RunReport();

    // Appends to the file (made when missing); false with a reason.
    bool open(const std::string& path, const std::string& shard, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    void write(const Entry& entry);

  private:
    std::FILE* file_ = nullptr;
    std::string host_, shard_;
};

}  // namespace talwyn::cli
