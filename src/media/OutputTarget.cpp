#include "media/OutputTarget.h"

#include "media/PathRule.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace talwyn::media {
namespace {

constexpr char kPrefix[] = ".talwyn-";
constexpr char kSuffix[] = ".part";

bool occupied(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

bool plainFile(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string variant(const std::string& path, int n) {
    if (n == 0) {
        return path;
    }
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    const std::string ext = hasExtension ? path.substr(dot) : std::string();
    return stem + "_" + std::to_string(n) + ext;
}

// The process a hidden name belongs to, or 0 when the name is not one of ours.
pid_t ownerOf(const std::string& name) {
    unsigned long pid = 0, serial = 0;
    int used = 0;
    if (std::sscanf(name.c_str(), ".talwyn-%lu-%lu.part%n", &pid, &serial, &used) != 2 ||
        size_t(used) != name.size()) {
        return 0;
    }
    return pid_t(pid);
}

// Renames without replacing; false with errno EEXIST when the name is taken.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without it: a hard link fails on a taken name just the same.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    return false;
}

}  // namespace

bool OutputNames::freeFor(const std::string& path, const IsInput& isInput) const {
    return !claimed_.count(normalPath(path)) && !occupied(path) && !isInput(path);
}

std::string OutputNames::claim(const std::string& wanted, bool replace, const IsInput& isInput) {
    std::lock_guard lock(mutex_);
    std::string chosen = wanted;
    const bool replaceable =
        replace && plainFile(wanted) && !isInput(wanted) && !claimed_.count(normalPath(wanted));
    if (!replaceable) {
        for (int n = 0; !freeFor(chosen = variant(wanted, n), isInput); ++n) {
        }
    }
    claimed_.insert(normalPath(chosen));
    return chosen;
}

void OutputNames::release(const std::string& path) {
    std::lock_guard lock(mutex_);
    claimed_.erase(normalPath(path));
}

std::string temporaryPathIn(const std::string& folder) {
    static std::atomic<unsigned long> serial{0};
    return folder + "/" + kPrefix + std::to_string(::getpid()) + "-" + std::to_string(++serial) +
           kSuffix;
}

bool isTemporaryName(const std::string& fileName) {
    return ownerOf(fileName) != 0;
}

int removeStaleTemporaries(const std::string& folder) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(directory)) {
        const pid_t owner = ownerOf(entry->d_name);
        if (owner == 0 || owner == ::getpid()) {
            continue;
        }
        if (::kill(owner, 0) != 0 && errno == ESRCH &&
            ::unlink((folder + "/" + entry->d_name).c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(directory);
    return removed;
}

std::string commitOutput(const std::string& temporary, const std::string& claimed, bool replace,
                         OutputNames& names, const OutputNames::IsInput& isInput,
                         std::string& error) {
    std::string target = claimed;
    if (replace && !isInput(target)) {
        if (::rename(temporary.c_str(), target.c_str()) == 0) {
            return target;
        }
        error = "无法把输出文件命名为 " + target + ": " + std::strerror(errno);
        return {};
    }
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (renameNoReplace(temporary, target)) {
            return target;
        }
        if (errno != EEXIST) {
            error = "无法把输出文件命名为 " + target + ": " + std::strerror(errno);
            return {};
        }
        // Someone put a file there while the task ran: it stays, the output takes the next name.
        names.release(target);
        target = names.claim(claimed, false, isInput);
    }
    error = "无法为输出文件找到可用的名字: " + claimed;
    return {};
}

}  // namespace talwyn::media
