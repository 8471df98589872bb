#pragma once

#include <string>
#include <utility>
#include <vector>

struct AVFormatContext;
struct AVStream;

// The text tags of a file (title, artist, album, track, date, genre, comment ...), gathered from
// the container and its sound stream, as every output container that holds tags receives them.

namespace talwyn::media {

using TagList = std::vector<std::pair<std::string, std::string>>;

// The file's tags with lower-case names; those that describe the old file's encoding rather than
// its content (encoder, brands, gapless data, handler names) are left out.
TagList fileTags(const AVFormatContext& input, int audioStream);
// Writes the tags where the output's container looks for them: the file and, for Ogg, the sound
// stream (nullptr when there is none).
void writeTags(const TagList& tags, AVFormatContext& output, AVStream* audioStream);

}  // namespace talwyn::media
