#include "joblist/MediaFolderScan.h"
#include "joblist/NaturalOrder.h"
#include "support/AlbumTree.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using namespace talwyn::joblist;
namespace fs = std::filesystem;

TEST(NaturalOrder, NamesSortAsPeopleCount) {
    const struct {
        std::vector<std::string> names;  // shuffled
        std::vector<std::string> sorted;
    } cases[] = {
        {{"10 x.wav", "2 x.wav", "1 x.wav"}, {"1 x.wav", "2 x.wav", "10 x.wav"}},
        {{"Disc 10", "disc 2", "DISC 1"}, {"DISC 1", "disc 2", "Disc 10"}},
        {{"track10b", "track10a", "track9z"}, {"track9z", "track10a", "track10b"}},
        // Equal apart from case or leading zeros: byte order decides, the same on every run.
        {{"b.wav", "a.wav", "B.wav", "A.wav"}, {"A.wav", "a.wav", "B.wav", "b.wav"}},
        {{"2.wav", "002.wav", "02.wav", "1.wav"}, {"1.wav", "002.wav", "02.wav", "2.wav"}},
        // Digit runs longer than any integer still compare by value.
        {{"99999999999999999999999 x", "100000000000000000000000 x", "7 x"},
         {"7 x", "99999999999999999999999 x", "100000000000000000000000 x"}},
        // A name that is the start of another comes first; digits before letters.
        {{"Intro (live)", "Intro", "Intro 2", "Intro a"},
         {"Intro", "Intro (live)", "Intro 2", "Intro a"}},
        // Names are bytes: UTF-8 and other bytes are compared as they stand, never folded.
        {{"\xC3\xA9t\xC3\xA9", "\xE6\xAD\x8C 10", "\xE6\xAD\x8C 9", "zoo", "\xFF raw"},
         {"zoo", "\xC3\xA9t\xC3\xA9", "\xE6\xAD\x8C 9", "\xE6\xAD\x8C 10", "\xFF raw"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names = c.names;
        std::sort(names.begin(), names.end(), NaturalLess);
        EXPECT_EQ(names, c.sorted) << c.sorted.front();
        // A strict weak order: no name comes before itself, nor both before and after another.
        for (const std::string& a : c.names) {
            EXPECT_FALSE(NaturalLess(a, a)) << a;
            for (const std::string& b : c.names) {
                EXPECT_FALSE(NaturalLess(a, b) && NaturalLess(b, a)) << a << " / " << b;
            }
        }
    }
}

TEST(MediaFolderScan, TakesTheVisibleTreeInListeningOrder) {
    QTemporaryDir dir;
    const fs::path top = fs::path(dir.path().toStdString()) / "Music";
    const fs::path media = fs::path(dir.path().toStdString()) / "media.wav";
    std::ofstream(media) << "stands in for a sound";
    ASSERT_EQ(talwyn::test::makeAlbumTree(top, media), "");

    const MediaFolderScan scan = ScanMediaFolder(top);
    std::vector<std::string> found;
    for (const fs::path& file : scan.files) {
        found.push_back(file.lexically_relative(top).string());
    }
    // The converter, not the scan, decides that notes.txt is no sound.
    const std::vector<std::string> expected = {
        "notes.txt",
        "Zebra.wav",
        "Album 2/2 x.wav",
        "Album 2/10 x.wav",
        "Album 2/Disc 1/1 x.wav",
        "Album 2/Disc 2/1 x.wav",
        "Album 10/2 x.wav",
        "Album 10/10 x.wav",
    };
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(scan.unreadable.empty());
    // The paths start with the folder as it was given, so each file's place can be taken from it.
    EXPECT_EQ(scan.files.front(), top / "notes.txt");
}

TEST(MediaFolderScan, SaysWhatItCouldNotRead) {
    QTemporaryDir dir;
    const fs::path top(dir.path().toStdString());
    fs::create_directories(top / "open");
    fs::create_directories(top / "locked");
    std::ofstream(top / "open/a.wav") << "a";
    std::ofstream(top / "locked/b.wav") << "b";
    ASSERT_EQ(::mkfifo((top / "open/pipe.wav").c_str(), 0600), 0);
    fs::permissions(top / "locked", fs::perms::none);
    const bool lockHolds = !std::ifstream(top / "locked/b.wav").is_open();  // not so for root

    const MediaFolderScan scan = ScanMediaFolder(top);
    fs::permissions(top / "locked", fs::perms::owner_all);
    // A pipe is listed, for whoever adds it to refuse with its reason.
    std::vector<fs::path> expected = {top / "open/a.wav", top / "open/pipe.wav"};
    if (lockHolds) {
        ASSERT_EQ(scan.unreadable.size(), 1u);
        EXPECT_EQ(scan.unreadable[0].folder, top / "locked");
        EXPECT_FALSE(scan.unreadable[0].reason.empty());
    } else {
        expected.insert(expected.begin(), top / "locked/b.wav");
    }
    EXPECT_EQ(scan.files, expected);

    const MediaFolderScan missing = ScanMediaFolder(top / "nowhere");
    EXPECT_TRUE(missing.files.empty());
    ASSERT_EQ(missing.unreadable.size(), 1u);
    EXPECT_EQ(missing.unreadable[0].folder, top / "nowhere");
}
