#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

// A music folder as people keep them: numbered albums, one with two discs, a file of its own, a
// note, a hidden cache and a hidden file, and a link from inside back up to the top.
//
//   notes.txt                  text
//   Zebra.wav                  media
//   .hidden.wav                media
//   .cache/cached.wav          media
//   Album 10/10 x.wav, 2 x.wav media
//   Album 2/10 x.wav, 2 x.wav  media
//   Album 2/Disc 2/1 x.wav     media
//   Album 2/Disc 1/1 x.wav     media
//   Album 2/Disc 1/back        link to the top

namespace talwyn::test {

// Every media file is a copy of `media`. Returns an empty text, or what failed.
inline std::string makeAlbumTree(const std::filesystem::path& top,
                                 const std::filesystem::path& media) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const char* folder : {".cache", "Album 10", "Album 2/Disc 2", "Album 2/Disc 1"}) {
        if (fs::create_directories(top / folder, error); error) {
            return "cannot make " + (top / folder).string() + ": " + error.message();
        }
    }
    for (const char* file : {"Zebra.wav", ".hidden.wav", ".cache/cached.wav", "Album 10/10 x.wav",
                             "Album 10/2 x.wav", "Album 2/10 x.wav", "Album 2/2 x.wav",
                             "Album 2/Disc 2/1 x.wav", "Album 2/Disc 1/1 x.wav"}) {
        if (fs::copy_file(media, top / file, error); error) {
            return "cannot make " + (top / file).string() + ": " + error.message();
        }
    }
    std::ofstream(top / "notes.txt") << "1 x, 2 x, 10 x: no sound in here\n";
    if (fs::create_directory_symlink("../..", top / "Album 2/Disc 1/back", error); error) {
        return "cannot link back: " + error.message();
    }
    return {};
}

}  // namespace talwyn::test
