#pragma once

#include "media/AvPtr.h"

#include <string>

// Opens a media file for reading as that file alone. The name is a path, never a URL; the
// libraries may open no other file or address on its behalf (a playlist, a reference to a
// neighbour, a network source), and formats that consist of such references are refused.

namespace talwyn::media {

// The opened file, or nothing with a reason a person can read. formatName forces a demuxer.
InputContextPtr openInputFile(const std::string& path, const std::string& formatName,
                              const AVIOInterruptCB* interrupt, std::string& error);

}  // namespace talwyn::media
