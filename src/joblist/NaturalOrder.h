#pragma once

#include <string_view>

// The order people expect of file names: "2 x" before "10 x", "Disc 2" before "disc 10".

namespace talwyn::joblist {

// Runs of ASCII digits compare by their value, everything else byte by byte with ASCII letters
// folded to lower case (names are bytes and need not be UTF-8, so no wider case folding is
// attempted). Names that still compare equal ("a" and "A", "02" and "2") fall back to plain byte
// order, so a sort never depends on the order the file system lists them in.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace talwyn::joblist
