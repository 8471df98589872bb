#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>

// Where a task's output goes: the name is chosen when the task starts (free on disk, claimed by no
// other task, no input), the file is written under a short hidden name, and it takes its name only
// when complete, never replacing a file that appeared meanwhile.

namespace talwyn::media {

// The names the running tasks of one converter have claimed.
class OutputNames {
  public:
    using IsInput = std::function<bool(const std::string&)>;

    // The wanted path, or its "_1", "_2", … variant: the first that no file (or link) stands at,
    // no task has claimed and no input is. With replace, the wanted path itself when what stands
    // there is a plain file that is no input and no task has claimed.
    std::string claim(const std::string& wanted, bool replace, const IsInput& isInput);
    void release(const std::string& path);

  private:
    bool freeFor(const std::string& path, const IsInput& isInput) const;
    std::mutex mutex_;
    std::set<std::string> claimed_;
};

// A hidden file in the folder, named for this process, of a fixed short length whatever the
// final name is.
std::string temporaryPathIn(const std::string& folder);
// Whether a file name is one of this program's hidden files.
bool isTemporaryName(const std::string& fileName);
// Removes the hidden files in the folder whose process no longer runs (a run that was killed);
// returns how many.
int removeStaleTemporaries(const std::string& folder);

// Gives the finished temporary file its name. Without replace the name must still be free, else
// the next free variant is claimed. The name used, or empty with error.
std::string commitOutput(const std::string& temporary, const std::string& claimed, bool replace,
                         OutputNames& names, const OutputNames::IsInput& isInput,
                         std::string& error);

}  // namespace talwyn::media
