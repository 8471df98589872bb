#include "joblist/MediaFolderScan.h"

#include "joblist/NaturalOrder.h"

#include <algorithm>
#include <set>
#include <system_error>

namespace talwyn::joblist {
namespace {

namespace fs = std::filesystem;

void sortNaturally(std::vector<fs::path>& paths) {
    std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
        return NaturalLess(a.filename().native(), b.filename().native());
    });
}

}  // namespace

MediaFolderScan ScanMediaFolder(const fs::path& folder) {
    MediaFolderScan scan;
    std::set<fs::path> entered;  // canonical paths
    // Depth first, with a stack of its own: a deep tree cannot exhaust the call stack.
    std::vector<fs::path> pending{folder};
    while (!pending.empty()) {
        const fs::path current = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        const fs::path canonical = fs::canonical(current, error);
        if (error) {
            scan.unreadable.push_back({current, error.message()});
            continue;
        }
        if (!entered.insert(canonical).second) {
            continue;
        }
        std::vector<fs::path> files;
        std::vector<fs::path> folders;
        fs::directory_iterator entry(current, error);
        for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
            const std::string name = entry->path().filename().native();
            if (name.empty() || name.front() == '.') {
                continue;
            }
            std::error_code typeError;  // a link leading nowhere is no folder; it stays a file
            (entry->is_directory(typeError) ? folders : files).push_back(entry->path());
        }
        if (error) {
            // What was listed before the failure is still taken.
            scan.unreadable.push_back({current, error.message()});
        }
        sortNaturally(files);
        sortNaturally(folders);
        scan.files.insert(scan.files.end(), files.begin(), files.end());
        pending.insert(pending.end(), folders.rbegin(), folders.rend());
    }
    return scan;
}

}  // namespace talwyn::joblist
