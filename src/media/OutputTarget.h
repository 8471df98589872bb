#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>

// Where a task's output goes: the name is chosen when the task starts (free on disk, claimed by no
// other task, no input), the file is written under a short hidden name, and it takes its name only
// when complete, never replacing a file that appeared meanwhile.

namespace talwyn::media {

// A hidden file of this program in a folder, made for writing with an exclusive create and
// locked while its owner lives; the lock ends with the process, however it ends.
class HeldFile {
  public:
    HeldFile() = default;
    HeldFile(HeldFile&& other) noexcept;
    HeldFile& operator=(HeldFile&& other) noexcept;
    ~HeldFile();
    // False with errno when the file exists or cannot be made.
    bool create(const std::string& path);
    const std::string& path() const { return path_; }
    // The file now goes by this name (linked or renamed there by its holder).
    void renamed(const std::string& path);
    // Writes the text at the start of the file.
    bool write(const std::string& text);
    // Lets the lock go and the file be, or removes it.
    void close();
    void remove();

  private:
    std::string path_;
    int fd_ = -1;
};

// The names the running tasks have claimed. A claim is also a hidden file beside the name,
// made with an exclusive create and locked while the task runs, so that other processes (other
// runs, other machines writing into the same shared folder) never take the same name.
class OutputNames {
  public:
    using IsInput = std::function<bool(const std::string&)>;

    OutputNames() = default;
    OutputNames(const OutputNames&) = delete;
    OutputNames& operator=(const OutputNames&) = delete;
    ~OutputNames();

    // The wanted path, or its "_1", "_2", … variant: the first that no file (or link) stands at,
    // nobody has claimed and no input is. With replace, the wanted path itself when what stands
    // there is a plain file that is no input and nobody has claimed.
    std::string claim(const std::string& wanted, bool replace, const IsInput& isInput);
    void release(const std::string& path);

  private:
    bool freeFor(const std::string& path, const IsInput& isInput) const;
    // Takes the claim file of the path; false when another owner holds it.
    bool claimOnDisk(const std::string& path, HeldFile& held);
    std::mutex mutex_;
    std::map<std::string, HeldFile> claimed_;  // by normal path
};

// The path itself (n = 0) or its "_n" variant: "a/b.wav" -> "a/b_2.wav".
std::string nameVariant(const std::string& path, int n);

// A hidden file in the folder, named for this machine and process, of a fixed short length
// whatever the final name is, made and locked for writing.
HeldFile temporaryFileIn(const std::string& folder, std::string& error);
// The name such a file would have (for tests and descriptions).
std::string temporaryPathIn(const std::string& folder);
// Whether a file name is one of this program's hidden files (output or claim).
bool isTemporaryName(const std::string& fileName);
// Removes the hidden files in the folder whose owner is gone (a run that was killed, here or on
// another machine sharing the folder); returns how many.
int removeStaleTemporaries(const std::string& folder);

// Gives the finished temporary file its name. Without replace the name must still be free, else
// the next free variant is claimed. The name used, or empty with error.
std::string commitOutput(const std::string& temporary, const std::string& claimed, bool replace,
                         OutputNames& names, const OutputNames::IsInput& isInput,
                         std::string& error);

}  // namespace talwyn::media
