#include "media/FileTags.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cctype>
#include <set>

namespace talwyn::media {
namespace {

bool describesEncoding(const std::string& key) {
    static const std::set<std::string> technical = {"encoder",
                                                    "major_brand",
                                                    "minor_version",
                                                    "compatible_brands",
                                                    "handler_name",
                                                    "vendor_id",
                                                    "language",
                                                    "itunsmpb",
                                                    "itunnorm",
                                                    "duration",
                                                    "encoder_options",
                                                    "tlen",
                                                    "metadata_block_picture"};
    return technical.count(key) != 0;
}

void gather(const AVDictionary* dictionary, TagList& tags) {
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        std::string key = entry->key;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (describesEncoding(key) || !entry->value || !*entry->value) {
            continue;
        }
        const bool known = std::any_of(tags.begin(), tags.end(),
                                       [&](const auto& tag) { return tag.first == key; });
        if (!known) {
            tags.emplace_back(key, entry->value);
        }
    }
}

}  // namespace

TagList fileTags(const AVFormatContext& input, int audioStream) {
    TagList tags;
    gather(input.metadata, tags);
    if (audioStream >= 0 && unsigned(audioStream) < input.nb_streams) {
        gather(input.streams[audioStream]->metadata, tags);  // Ogg keeps its comments here
    }
    return tags;
}

void writeTags(const TagList& tags, AVFormatContext& output, AVStream* audioStream) {
    const std::string muxer = output.oformat->name;
    const bool streamTags = muxer == "ogg" || muxer == "oga" || muxer == "opus";
    for (const auto& [key, value] : tags) {
        av_dict_set(&output.metadata, key.c_str(), value.c_str(), 0);
        if (streamTags && audioStream) {
            av_dict_set(&audioStream->metadata, key.c_str(), value.c_str(), 0);
        }
    }
}

}  // namespace talwyn::media
