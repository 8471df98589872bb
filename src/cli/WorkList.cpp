#include "cli/WorkList.h"

#include "joblist/MediaFolderScan.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace talwyn::cli {
namespace {

namespace fs = std::filesystem;

// Where under the output folder a file goes: its folder relative to the root, when it lies
// under it.
std::optional<fs::path> subfolderUnder(const std::string& file, const std::string& root) {
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error).lexically_normal();
    const fs::path base = fs::absolute(root, error).lexically_normal();
    const fs::path relative = absolute.lexically_relative(base);
    if (error || relative.empty() || *relative.begin() == "..") {
        return std::nullopt;
    }
    return relative.parent_path();
}

}  // namespace

std::optional<Shard> parseShard(const std::string& text) {
    unsigned long index = 0, count = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%lu/%lu%n", &index, &count, &used) != 2 ||
        size_t(used) != text.size() || count == 0 || index >= count || count > 1'000'000) {
        return std::nullopt;
    }
    return Shard{unsigned(index), unsigned(count)};
}

uint64_t pathHash(const std::string& path) {
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : path) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

bool inShard(const std::string& path, const Shard& shard) {
    return pathHash(path) % shard.count == shard.index;
}

bool readPathList(const std::string& source, bool nulSeparated, std::vector<std::string>& paths,
                  std::string& error) {
    std::string text;
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) {
            error = "无法读取列表 " + source + ": " + std::strerror(errno);
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    const char separator = nulSeparated ? '\0' : '\n';
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string path = text.substr(start, end - start);
        if (!nulSeparated && !path.empty() && path.back() == '\r') {
            path.pop_back();  // a list written on Windows
        }
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
        start = end + 1;
    }
    return true;
}

std::vector<WorkItem> collectWork(const WorkSources& sources, int& failures) {
    std::vector<std::string> named = sources.arguments;
    if (!sources.listFile.empty()) {
        std::string error;
        if (!readPathList(sources.listFile, sources.nulSeparated, named, error)) {
            std::fprintf(stderr, "talwynwav-cli: %s\n", error.c_str());
            ++failures;
        }
    }
    const bool underRoot = sources.keepStructure && !sources.root.empty();
    std::vector<WorkItem> work;
    const auto take = [&](WorkItem item) {
        if (!inShard(item.name, sources.shard)) {
            return;
        }
        if (underRoot) {
            if (const auto subfolder = subfolderUnder(item.name, sources.root)) {
                item.subfolder = *subfolder;
            } else {
                item.problem = "不在 --root " + sources.root + " 之下";
            }
        }
        work.push_back(std::move(item));
    };
    for (const std::string& name : named) {
        std::error_code error;
        if (!fs::is_directory(name, error)) {
            take({name, {}, false, {}});
            continue;
        }
        const joblist::MediaFolderScan scan = joblist::ScanMediaFolder(name);
        for (const joblist::MediaFolderScan::Unreadable& problem : scan.unreadable) {
            std::fprintf(stderr, "talwynwav-cli: 无法读取目录 %s: %s\n", problem.folder.c_str(),
                         problem.reason.c_str());
            ++failures;
        }
        if (scan.files.empty() && scan.unreadable.empty()) {
            std::fprintf(stderr, "talwynwav-cli: 目录 %s 中没有文件\n", name.c_str());
        }
        for (const fs::path& file : scan.files) {
            take({file.string(),
                  sources.keepStructure ? file.lexically_relative(name).parent_path() : fs::path(),
                  true,
                  {}});
        }
    }
    return work;
}

}  // namespace talwyn::cli
