#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Brings FFmpeg's log messages to one receiver: the reporting thread's id, the level number
// (0 quiet, 1 panic, 2 fatal, 3 error, 4 warning, 5 info, 6 verbose, 7 debug) and the text.
// The receiver is called on whatever thread FFmpeg logs from.

namespace talwyn::media {

class Logger {
  public:
    using Receiver = std::function<void(uint32_t threadId, int level, const std::string& text)>;

    // Replaces the receiver; an empty one detaches. Messages above maxLevel are dropped.
    static void setReceiver(Receiver receiver, int maxLevel = 4);
    // The level number of an FFmpeg log level.
    static int levelNumber(int avLevel);
    // Sends a line of the program's own through the same receiver.
    static void log(int level, const std::string& text);
};

}  // namespace talwyn::media
