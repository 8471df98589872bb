#include "media/OutputTarget.h"

#include "media/PathRule.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <utility>

namespace talwyn::media {
namespace {

constexpr char kSuffix[] = ".part";
// A lock-free hidden file of another machine is taken for abandoned only when it is older than
// this: its owner may have made it a moment ago and not locked it yet.
constexpr int kForeignGraceSeconds = 60;

uint64_t fnv1a(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

// Eight hex digits that name this machine in hidden names.
const std::string& hostTag() {
    static const std::string tag = [] {
        char name[256] = {};
        ::gethostname(name, sizeof name - 1);
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", unsigned(fnv1a(name) & 0xffffffffu));
        return std::string(hex);
    }();
    return tag;
}

bool occupied(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

bool plainFile(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Who a hidden name belongs to, as far as the name (or a claim's contents) tells.
struct Owner {
    bool ours = false;      // one of this program's hidden files
    bool thisHost = false;  // made on this machine, so its process can be asked after
    pid_t pid = 0;
};

Owner ownerFromText(const std::string& host, unsigned long pid) {
    return {true, host == hostTag(), pid_t(pid)};
}

Owner ownerOf(const std::string& name) {
    char host[9] = {};
    unsigned long pid = 0, serial = 0;
    int used = 0;
    if (std::sscanf(name.c_str(), ".talwyn-%8[0-9a-f]-%lu-%lu.part%n", host, &pid, &serial,
                    &used) == 3 &&
        size_t(used) == name.size() && std::strlen(host) == 8) {
        return ownerFromText(host, pid);
    }
    used = 0;
    if (std::sscanf(name.c_str(), ".talwyn-%lu-%lu.part%n", &pid, &serial, &used) == 2 &&
        size_t(used) == name.size()) {
        return {true, true, pid_t(pid)};  // the names of earlier versions: this machine's
    }
    char hash[17] = {};
    used = 0;
    if (std::sscanf(name.c_str(), ".talwyn-claim-%16[0-9a-f]%n", hash, &used) == 1 &&
        size_t(used) == name.size() && std::strlen(hash) == 16) {
        return {true, false, 0};  // the owner is written inside
    }
    return {};
}

// A claim file says whose it is: "<host tag> <pid>".
Owner claimOwner(int fd) {
    char text[64] = {};
    const ssize_t length = ::pread(fd, text, sizeof text - 1, 0);
    char host[9] = {};
    unsigned long pid = 0;
    if (length > 0 && std::sscanf(text, "%8[0-9a-f] %lu", host, &pid) == 2) {
        return ownerFromText(host, pid);
    }
    return {true, false, 0};
}

// Removes the hidden file when its owner is gone: nobody holds its lock, and its process is dead
// (this machine) or it has not changed for a while (another machine).
bool removeIfAbandoned(const std::string& path, Owner owner) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    bool gone = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        if (owner.pid == 0) {
            owner = claimOwner(fd);
        }
        struct stat status {};
        if (owner.thisHost && owner.pid > 0) {
            gone = owner.pid != ::getpid() && ::kill(owner.pid, 0) != 0 && errno == ESRCH;
        } else if (::fstat(fd, &status) == 0) {
            gone = ::time(nullptr) - status.st_mtime > kForeignGraceSeconds;
        }
        gone = gone && ::unlink(path.c_str()) == 0;
    }
    ::close(fd);
    return gone;
}

std::string claimPathOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)fnv1a(name));
    return folder + "/.talwyn-claim-" + hex;
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

std::string nameVariant(const std::string& path, int n) {
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

HeldFile::HeldFile(HeldFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
    if (this != &other) {
        close();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

HeldFile::~HeldFile() {
    close();
}

bool HeldFile::create(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    ::flock(fd, LOCK_EX);  // a new file: nobody else can hold it yet
    fd_ = fd;
    path_ = path;
    return true;
}

void HeldFile::renamed(const std::string& path) {
    path_ = path;
}

bool HeldFile::write(const std::string& text) {
    return fd_ >= 0 && ::pwrite(fd_, text.data(), text.size(), 0) == ssize_t(text.size());
}

void HeldFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void HeldFile::remove() {
    if (fd_ >= 0) {
        ::unlink(path_.c_str());  // while still locked: nobody takes it for abandoned first
    }
    close();
}

OutputNames::~OutputNames() {
    for (auto& [path, held] : claimed_) {
        held.remove();
    }
}

bool OutputNames::freeFor(const std::string& path, const IsInput& isInput) const {
    return !claimed_.count(normalPath(path)) && !occupied(path) && !isInput(path);
}

bool OutputNames::claimOnDisk(const std::string& path, HeldFile& held) {
    const std::string claimPath = claimPathOf(path);
    const std::string folder = claimPath.substr(0, claimPath.rfind('/'));
    const std::string owner = hostTag() + " " + std::to_string(::getpid()) + "\n";
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The claim appears whole: made under a name of this process, locked and signed, then
        // linked to the claim's name, which fails when that is taken. A run killed half way
        // leaves a file whose name says whose it was.
        std::string error;
        HeldFile staged = temporaryFileIn(folder, error);
        if (staged.path().empty()) {
            return true;  // a folder that takes no hidden files: the claim is this process's
        }
        staged.write(owner);
        if (::link(staged.path().c_str(), claimPath.c_str()) == 0) {
            ::unlink(staged.path().c_str());
            staged.renamed(claimPath);
            held = std::move(staged);
            return true;
        }
        const int linkError = errno;
        staged.remove();
        if (linkError != EEXIST) {
            // A file system without hard links: the claim is made in place.
            if (held.create(claimPath)) {
                held.write(owner);
                return true;
            }
            if (errno != EEXIST) {
                return true;
            }
        }
        if (!removeIfAbandoned(claimPath, {})) {
            return false;  // another run has the name
        }
    }
    return false;
}

std::string OutputNames::claim(const std::string& wanted, bool replace, const IsInput& isInput) {
    std::lock_guard lock(mutex_);
    const bool replaceable =
        replace && plainFile(wanted) && !isInput(wanted) && !claimed_.count(normalPath(wanted));
    for (int n = 0;; ++n) {
        const std::string chosen = nameVariant(wanted, n);
        const bool candidate = (n == 0 && replaceable) || freeFor(chosen, isInput);
        HeldFile held;
        if (!candidate || !claimOnDisk(chosen, held)) {
            continue;
        }
        if (!(n == 0 && replaceable) && occupied(chosen)) {
            held.remove();  // another run finished a file of this name meanwhile
            continue;
        }
        claimed_[normalPath(chosen)] = std::move(held);
        return chosen;
    }
}

void OutputNames::release(const std::string& path) {
    std::lock_guard lock(mutex_);
    const auto it = claimed_.find(normalPath(path));
    if (it != claimed_.end()) {
        it->second.remove();
        claimed_.erase(it);
    }
}

HeldFile temporaryFileIn(const std::string& folder, std::string& error) {
    HeldFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (file.create(temporaryPathIn(folder))) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = std::strerror(errno);
    return file;
}

std::string temporaryPathIn(const std::string& folder) {
    static std::atomic<unsigned long> serial{0};
    return folder + "/.talwyn-" + hostTag() + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(++serial) + kSuffix;
}

bool isTemporaryName(const std::string& fileName) {
    return ownerOf(fileName).ours;
}

int removeStaleTemporaries(const std::string& folder) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(directory)) {
        const Owner owner = ownerOf(entry->d_name);
        if (owner.ours && removeIfAbandoned(folder + "/" + entry->d_name, owner)) {
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
