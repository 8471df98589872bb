#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The files a folder tree offers for conversion, for the window and the command-line tool alike.

namespace talwyn::joblist {

struct MediaFolderScan {
    struct Unreadable {
        std::filesystem::path folder;
        std::string reason;
    };
    // Every file of the tree that is not hidden, in the order albums are listened to: a folder's
    // own files first, then each of its subfolders in turn, both in natural order. Whether a file
    // really is audio or video is left to the converter; pipes and devices are listed too, so
    // that whoever adds them can say why they are refused.
    std::vector<std::filesystem::path> files;
    // Folders of the tree that could not be listed (their files are missing from `files`).
    std::vector<Unreadable> unreadable;
};

// Scans the folder and its subfolders. Names starting with "." are left out, files and folders
// alike. Linked folders are followed, but no folder is entered twice, so a link back up the
// tree ends there. The paths are the folder's path joined with the names found, so that each
// one's place in the tree is the path relative to `folder`.
MediaFolderScan ScanMediaFolder(const std::filesystem::path& folder);

}  // namespace talwyn::joblist
