#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What one run of talwynwav-cli convert works on: the files named, those of the folders named and
// those of a list, less those of other shards. Names are bytes, as given.

namespace talwyn::cli {

// One of count workers that share a work list without talking to each other: index from 0.
struct Shard {
    unsigned index = 0, count = 1;
};

// "K/N" with 0 <= K < N; nothing for any other text.
std::optional<Shard> parseShard(const std::string& text);
// FNV-1a of the path's bytes: the same on every machine and in every run.
uint64_t pathHash(const std::string& path);
bool inShard(const std::string& path, const Shard& shard);

struct WorkItem {
    std::string name;                 // as given, or the folder as given and the rest
    std::filesystem::path subfolder;  // where under the output folder its output goes
    bool found = false;               // found in a folder rather than named
    std::string problem;              // set when the item cannot be worked on
};

struct WorkSources {
    std::vector<std::string> arguments;  // files and folders
    std::string listFile;                // "-" for standard input; empty: none
    bool nulSeparated = false;
    bool keepStructure = false;
    std::string root;  // for keepStructure: the tree the inputs' folders are mirrored from
    Shard shard;
};

// Reads the paths of a list, one a line (or NUL-separated); false with a reason.
bool readPathList(const std::string& source, bool nulSeparated, std::vector<std::string>& paths,
                  std::string& error);
// The work of this shard, in the order given; folders that cannot be read are counted as
// failures with a line on standard error.
std::vector<WorkItem> collectWork(const WorkSources& sources, int& failures);

}  // namespace talwyn::cli
