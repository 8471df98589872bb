#pragma once

#include <string>

struct AVFormatContext;
struct AVStream;

// A file's cover picture carried into a sound-only output whose container holds one: ID3v2 APIC
// in MP3, a PICTURE block in FLAC, "covr" in M4A/MP4, METADATA_BLOCK_PICTURE in Ogg comments.
// The picture is copied as it is; it never becomes a video stream of the output.

namespace talwyn::media {

// The input's cover stream, nullptr when it has none.
const AVStream* coverStream(const AVFormatContext& input);

class CoverArt {
  public:
    // Before the output's header: prepares the cover for the container; notes why not, when the
    // container holds no cover or not this kind of picture.
    CoverArt(const AVStream& cover, AVFormatContext& output, AVStream& audioOutput,
             std::string& note);
    // After the header, before any sound: writes the picture where it goes as a packet.
    bool write(std::string& error);

  private:
    const AVStream& cover_;
    AVFormatContext& output_;
    int streamIndex_ = -1;  // the output stream that takes the picture; -1: none or in the tags
};

}  // namespace talwyn::media
