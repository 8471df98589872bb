#include "media/Logger.h"

extern "C" {
#include <libavutil/log.h>
}

#include <unistd.h>

#include <cstdarg>
#include <mutex>

namespace talwyn::media {
namespace {

std::mutex receiverMutex;
Logger::Receiver receiver;
int receiverMaxLevel = 4;

void deliver(int level, const std::string& text) {
    std::lock_guard lock(receiverMutex);
    if (receiver && level <= receiverMaxLevel) {
        receiver(uint32_t(gettid()), level, text);
    }
}

void callback(void* object, int avLevel, const char* format, va_list args) {
    const int level = Logger::levelNumber(avLevel);
    {
        std::lock_guard lock(receiverMutex);
        if (!receiver || level > receiverMaxLevel) {
            return;
        }
    }
    char line[1024];
    int printPrefix = 1;
    av_log_format_line2(object, avLevel, format, args, line, sizeof line, &printPrefix);
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    if (!text.empty()) {
        deliver(level, text);
    }
}

}  // namespace

void Logger::setReceiver(Receiver newReceiver, int maxLevel) {
    std::lock_guard lock(receiverMutex);
    receiver = std::move(newReceiver);
    receiverMaxLevel = maxLevel;
    av_log_set_callback(receiver ? callback : av_log_default_callback);
}

int Logger::levelNumber(int avLevel) {
    if (avLevel <= AV_LOG_QUIET) {
        return 0;
    }
    if (avLevel <= AV_LOG_PANIC) {
        return 1;
    }
    if (avLevel <= AV_LOG_FATAL) {
        return 2;
    }
    if (avLevel <= AV_LOG_ERROR) {
        return 3;
    }
    if (avLevel <= AV_LOG_WARNING) {
        return 4;
    }
    if (avLevel <= AV_LOG_INFO) {
        return 5;
    }
    if (avLevel <= AV_LOG_VERBOSE) {
        return 6;
    }
    return 7;
}

void Logger::log(int level, const std::string& text) {
    deliver(level, text);
}

}  // namespace talwyn::media
