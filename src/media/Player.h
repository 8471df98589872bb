#pragma once

#include "media/AudioOutput.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The preview player: opens a file paused at its start, plays, pauses, seeks and mutes, and
// keeps the picture it shows last. Decoding and timing run on a thread of its own; the events come
// on that thread through plain callbacks.

namespace talwyn::media {

enum class TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };

struct PlayerPicture {
    int width = 0, height = 0;  // 0: nothing shown
    std::vector<uint8_t> rgb32;
};

class Player {
  public:
    struct Events {
        std::function<void(int64_t duration, int frameWidth, int frameHeight)> onFileOpen;
        std::function<void(int64_t pts)> onPosition;
        std::function<void(TPlayState state)> onState;
        std::function<void()> onPicture;  // a new picture is in CurrentFrame()
        std::function<void(const std::string&)> onLog;
    };

    // audio may be null: the sound is then dropped and the system clock keeps time.
    explicit Player(std::unique_ptr<AudioOutput> audio = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Replaces the receivers; returns when no old one is running.
    void setEvents(Events events);

    // Opens the file, shows its first picture scaled into screenWidth x screenHeight (keeping
    // its shape) and waits there when paused. False with LastErrMsg() when it cannot.
    bool Open(const std::string& fileName, int screenWidth, int screenHeight, bool paused);
    void Pause();
    void Resume();
    // Ends playback and closes the file; with waitForStop, returns when it has ended.
    void Stop(bool waitForStop);
    // The next picture comes from this position (clamped to the file).
    void Seek(int64_t pts);
    void setMute(bool mute);
    bool mute() const { return muted_; }

    bool isOpen() const;
    bool isPaused() const;
    // A copy of the picture shown last.
    PlayerPicture CurrentFrame() const;
    std::string LastErrMsg() const;
    // The description of the open file.
    std::string FileInfoText() const;

  private:
    struct Session;
    void run(Session* session);
    void emitState(TPlayState state);

    std::unique_ptr<AudioOutput> audio_;
    bool audioWorks_ = false;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<Session> session_;
    std::thread thread_;
    bool paused_ = true;
    bool quit_ = false;
    int64_t seekTo_ = -1;
    bool muted_ = false;
    PlayerPicture picture_;
    std::string lastError_;

    std::mutex eventsMutex_;
    Events events_;
};

}  // namespace talwyn::media
