#pragma once

#include <string>
#include <vector>

namespace talwyn::cli {

// Each returns the process exit status.
int runProbe(const std::vector<std::string>& arguments);
int runConvert(const std::vector<std::string>& arguments);

}  // namespace talwyn::cli
