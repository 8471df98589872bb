#pragma once

#include <string>

// When two names mean the same file: one rule for the whole program (window, task building,
// command-line tool and engine).

namespace talwyn::media {

// The name made absolute, with the links of the part that exists resolved, in one spelling.
std::string normalPath(const std::string& path);
// Both names lead to the same file: the same file on disk when both exist, else the same
// normal path.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace talwyn::media
