#include "media/InputFile.h"

#include "media/AvError.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace talwyn::media {
namespace {

// Formats whose content names other files or addresses to read.
bool isReferenceFormat(const char* name) {
    static const char* const refused[] = {
        "hls", "applehttp", "concat", "dash", "sdp", "rtsp", "rtp", "imf", "webm_dash_manifest"};
    for (const char* format : refused) {
        if (std::strcmp(name, format) == 0) {
            return true;
        }
    }
    return false;
}

// Every demuxer but those: a format that is not on the list is never even tried, so a list of
// references is not read at all.
const std::string& allowedFormats() {
    static const std::string list = [] {
        std::string names;
        void* state = nullptr;
        while (const AVInputFormat* format = av_demuxer_iterate(&state)) {
            if (!isReferenceFormat(format->name)) {
                if (!names.empty()) {
                    names += ',';
                }
                names += format->name;
            }
        }
        return names;
    }();
    return list;
}

// Lets the demuxer open the file it was given and nothing else.
int openOnlyTheFile(AVFormatContext* context, AVIOContext** pb, const char* url, int flags,
                    AVDictionary** options) {
    if (!context->url || std::strcmp(url, context->url) != 0 || (flags & AVIO_FLAG_WRITE)) {
        return AVERROR(EPERM);
    }
    AVDictionary* local = nullptr;
    AVDictionary** dictionary = options ? options : &local;
    av_dict_set(dictionary, "protocol_whitelist", "file", 0);
    const int status = avio_open2(pb, url, flags, &context->interrupt_callback, dictionary);
    av_dict_free(&local);
    return status;
}

// What the file's first bytes look like, by the demuxers' own probes.
const AVInputFormat* guessedFormat(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> head(4096 + AVPROBE_PADDING_SIZE, 0);
    file.read(reinterpret_cast<char*>(head.data()), 4096);
    AVProbeData probe{};
    probe.filename = path.c_str();
    probe.buf = head.data();
    probe.buf_size = int(file.gcount());
    int score = 0;
    return av_probe_input_format3(&probe, 1, &score);
}

}  // namespace

InputContextPtr openInputFile(const std::string& path, const std::string& formatName,
                              const AVIOInterruptCB* interrupt, std::string& error) {
    if (formatName.empty()) {
        const AVInputFormat* guessed = guessedFormat(path);
        if (guessed && isReferenceFormat(guessed->name)) {
            error =
                "\"" + path + "\" 是播放列表或引用其他文件的格式 (" + guessed->name + ")，不能转换";
            return nullptr;
        }
    }
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) {
        error = "内存不足，无法打开 \"" + path + "\"";
        return nullptr;
    }
    if (interrupt) {
        raw->interrupt_callback = *interrupt;
    }
    raw->io_open = openOnlyTheFile;
    raw->format_whitelist = av_strdup(allowedFormats().c_str());
    const AVInputFormat* forced = nullptr;
    if (!formatName.empty() && !(forced = av_find_input_format(formatName.c_str()))) {
        avformat_free_context(raw);
        error = "不认识的输入格式 \"" + formatName + "\"";
        return nullptr;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // "file:" makes every name a path: "concat:a|b" or "subfile,,…" are names like any other.
    const std::string url = "file:" + path;
    const int status = avformat_open_input(&raw, url.c_str(), forced, &options);
    av_dict_free(&options);
    if (status < 0) {  // the context is freed by the failed open
        error = status == AVERROR(EACCES) || status == AVERROR(ENOENT) || status == AVERROR(EISDIR)
                    ? "无法读取文件 \"" + path + "\": " + avErrorText(status)
                    : "无法识别文件 \"" + path + "\" 的格式: " + avErrorText(status);
        return nullptr;
    }
    InputContextPtr context(raw);
    if (isReferenceFormat(context->iformat->name)) {
        error = "\"" + path + "\" 是播放列表或引用其他文件的格式 (" + context->iformat->name +
                ")，不能转换";
        return nullptr;
    }
    return context;
}

}  // namespace talwyn::media
