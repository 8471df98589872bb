#include "media/Player.h"

#include "media/AvError.h"
#include "media/AvPtr.h"
#include "media/InputFile.h"
#include "media/Logger.h"
#include "media/Orientation.h"
#include "media/Probe.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <chrono>

namespace talwyn::media {

using Clock = std::chrono::steady_clock;

namespace {

struct SwrDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;

CodecContextPtr openDecoder(const AVStream* stream) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) {
        return nullptr;
    }
    CodecContextPtr context(avcodec_alloc_context3(decoder));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) {
        return nullptr;
    }
    context->pkt_timebase = stream->time_base;
    context->thread_count = 2;
    if (avcodec_open2(context.get(), decoder, nullptr) < 0) {
        return nullptr;
    }
    return context;
}

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

}  // namespace

// Everything that belongs to one open file.
struct Player::Session {
    InputContextPtr input;
    int video = -1, audio = -1;
    CodecContextPtr videoDecoder, audioDecoder;
    SwsPtr scaler;
    SwrPtr resampler;
    int screenWidth = 0, screenHeight = 0;
    int pictureWidth = 0, pictureHeight = 0;  // shown, upright
    Orientation orientation;                  // of the decoded pictures
    int64_t duration = 0;
    int64_t start = 0;  // the input's first time stamp, microseconds
    std::string infoText;
    // The clock, guarded by the player's mutex: media time at wallBase, running or not.
    int64_t mediaBase = 0;
    Clock::time_point wallBase = Clock::now();
    bool running = false;
    bool audioClock = false;  // the sound card keeps time
    int64_t discardBefore = 0;
    bool showNext = true;  // show the next picture even while paused
    bool atEnd = false;
};

Player::Player(std::unique_ptr<AudioOutput> audio) : audio_(std::move(audio)) {}

Player::~Player() {
    setEvents({});
    Stop(true);
}

void Player::setEvents(Events events) {
    std::lock_guard lock(eventsMutex_);
    events_ = std::move(events);
}

void Player::emitState(TPlayState state) {
    std::lock_guard lock(eventsMutex_);
    if (events_.onState) {
        events_.onState(state);
    }
}

bool Player::Open(const std::string& fileName, int screenWidth, int screenHeight, bool paused) {
    Stop(true);
    auto session = std::make_unique<Session>();
    const auto refuse = [this](std::string reason) {
        std::lock_guard lock(mutex_);
        lastError_ = std::move(reason);
        return false;
    };
    std::string openError;
    session->input = openInputFile(fileName, {}, nullptr, openError);
    if (!session->input) {
        return refuse(openError);
    }
    AVFormatContext* raw = session->input.get();
    if (const int status = avformat_find_stream_info(raw, nullptr); status < 0) {
        return refuse("无法读取 " + fileName + ": " + avErrorText(status));
    }
    Probe probe;
    if (!probe.Describe(raw, fileName)) {
        return refuse(probe.LastErrMsg());
    }
    const TFileStreamInfo& info = probe.FileStreamInfo();
    session->infoText = probe.FileInfoText();
    session->duration = info.Duration;
    session->start = raw->start_time != AV_NOPTS_VALUE ? raw->start_time : 0;
    session->screenWidth = std::max(2, screenWidth);
    session->screenHeight = std::max(2, screenHeight);
    if (info.BestVideo >= 0) {
        session->video = info.BestVideo;
        session->videoDecoder = openDecoder(raw->streams[info.BestVideo]);
    }
    if (info.BestAudio >= 0) {
        session->audio = info.BestAudio;
        session->audioDecoder = openDecoder(raw->streams[info.BestAudio]);
    }
    int frameWidth = 0, frameHeight = 0;
    if (session->videoDecoder) {
        frameWidth = session->videoDecoder->width;
        frameHeight = session->videoDecoder->height;
        AVRational sar = session->videoDecoder->sample_aspect_ratio;
        double shape = double(frameWidth) * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0) /
                       std::max(1, frameHeight);
        session->orientation = orientationOf(*raw->streams[info.BestVideo]);
        if (session->orientation.swapsSides()) {
            shape = 1.0 / shape;
            std::swap(frameWidth, frameHeight);
        }
        // The picture fits the screen and keeps its shape.
        int width = session->screenWidth;
        int height = int(width / shape + 0.5);
        if (height > session->screenHeight) {
            height = session->screenHeight;
            width = int(height * shape + 0.5);
        }
        session->pictureWidth = std::max(2, width & ~1);
        session->pictureHeight = std::max(2, height & ~1);
    }
    {
        std::lock_guard lock(mutex_);
        audioWorks_ =
            audio_ && session->audioDecoder && audio_->start(kOutputRate, kOutputChannels);
        session->audioClock = audioWorks_;
        if (audio_ && session->audioDecoder && !audioWorks_) {
            lastError_ = "没有可用的声音设备，预览只显示画面";
        }
        if (audio_) {
            audio_->setMuted(muted_);
        }
        paused_ = paused;
        quit_ = false;
        seekTo_ = -1;
        picture_ = {};
        session->running = !paused;
        session->wallBase = Clock::now();
        session_ = std::move(session);
    }
    {
        std::lock_guard lock(eventsMutex_);
        if (events_.onLog && session_ && !session_->audioClock && session_->audioDecoder) {
            events_.onLog("没有可用的声音设备，预览只显示画面");
        }
        if (events_.onFileOpen) {
            events_.onFileOpen(info.Duration, frameWidth, frameHeight);
        }
    }
    thread_ = std::thread(&Player::run, this, session_.get());
    if (!paused) {
        emitState(TPlayState::psPlay);
    }
    return true;
}

void Player::Pause() {
    {
        std::lock_guard lock(mutex_);
        if (!session_ || paused_) {
            return;
        }
        Session& s = *session_;
        if (!s.audioClock) {
            s.mediaBase +=
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - s.wallBase)
                    .count();
        }
        s.running = false;
        paused_ = true;
        if (audioWorks_) {
            audio_->setPaused(true);
        }
    }
    changed_.notify_all();
    emitState(TPlayState::psPause);
}

void Player::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (!session_ || !paused_) {
            return;
        }
        Session& s = *session_;
        s.wallBase = Clock::now();
        s.running = true;
        paused_ = false;
        if (audioWorks_) {
            audio_->setPaused(false);
        }
    }
    changed_.notify_all();
    emitState(TPlayState::psResume);
}

void Player::Stop(bool waitForStop) {
    bool wasOpen = false;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        wasOpen = session_ != nullptr;
    }
    changed_.notify_all();
    // The session is freed below, so its thread must be done whatever waitForStop says.
    (void)waitForStop;
    if (thread_.joinable()) {
        thread_.join();
    }
    {
        std::lock_guard lock(mutex_);
        session_.reset();
        picture_ = {};
        paused_ = true;
    }
    if (audio_) {
        audio_->stop();
    }
    if (wasOpen) {
        emitState(TPlayState::psStop);
    }
}

void Player::Seek(int64_t pts) {
    {
        std::lock_guard lock(mutex_);
        if (!session_) {
            return;
        }
        seekTo_ = std::clamp<int64_t>(pts, 0, std::max<int64_t>(0, session_->duration));
    }
    changed_.notify_all();
}

void Player::setMute(bool mute) {
    std::lock_guard lock(mutex_);
    muted_ = mute;
    if (audio_) {
        audio_->setMuted(mute);
    }
}

bool Player::isOpen() const {
    std::lock_guard lock(mutex_);
    return session_ != nullptr;
}

bool Player::isPaused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

PlayerPicture Player::CurrentFrame() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

std::string Player::LastErrMsg() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

std::string Player::FileInfoText() const {
    std::lock_guard lock(mutex_);
    return session_ ? session_->infoText : std::string();
}

void Player::run(Session* s) {
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    auto lastPosition = Clock::now() - std::chrono::seconds(1);
    std::vector<int16_t> samples;

    // Media time now, by the sound card or the system clock. Called with the mutex held.
    const auto now = [&]() -> int64_t {
        if (s->audioClock) {
            return s->mediaBase + audio_->playedMicroseconds();
        }
        if (!s->running) {
            return s->mediaBase;
        }
        return s->mediaBase +
               std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - s->wallBase)
                   .count();
    };
    const auto position = [&](int64_t pts, bool force) {
        if (!force && Clock::now() - lastPosition < std::chrono::milliseconds(200)) {
            return;
        }
        lastPosition = Clock::now();
        std::lock_guard lock(eventsMutex_);
        if (events_.onPosition) {
            events_.onPosition(pts);
        }
    };
    // Waits until the clock reaches pts; false when the wait was broken by a command.
    const auto waitFor = [&](int64_t pts) {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (quit_ || seekTo_ >= 0) {
                return false;
            }
            if (!paused_ && now() >= pts) {
                return true;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(paused_ ? 100 : 5));
        }
    };
    const auto show = [&](AVFrame* picture) {
        // Scaled as decoded, then turned upright.
        const bool swap = s->orientation.swapsSides();
        const int scaledWidth = swap ? s->pictureHeight : s->pictureWidth;
        const int scaledHeight = swap ? s->pictureWidth : s->pictureHeight;
        if (!s->scaler) {
            s->scaler.reset(sws_getContext(
                picture->width, picture->height, AVPixelFormat(picture->format), scaledWidth,
                scaledHeight, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
        }
        PlayerPicture shown;
        shown.width = scaledWidth;
        shown.height = scaledHeight;
        shown.rgb32.resize(size_t(shown.width) * shown.height * 4);
        uint8_t* planes[4] = {shown.rgb32.data(), nullptr, nullptr, nullptr};
        int strides[4] = {shown.width * 4, 0, 0, 0};
        if (s->scaler) {
            sws_scale(s->scaler.get(), picture->data, picture->linesize, 0, picture->height, planes,
                      strides);
        }
        shown.rgb32 = uprightPixels(shown.rgb32, shown.width, shown.height, s->orientation);
        {
            std::lock_guard lock(mutex_);
            picture_ = std::move(shown);
        }
        std::lock_guard lock(eventsMutex_);
        if (events_.onPicture) {
            events_.onPicture();
        }
    };
    const auto ptsOf = [&](const AVFrame* decoded, const AVStream* stream) -> int64_t {
        const int64_t stamp = decoded->best_effort_timestamp;
        if (stamp == AV_NOPTS_VALUE) {
            return -1;
        }
        return av_rescale_q(stamp, stream->time_base, AV_TIME_BASE_Q) - s->start;
    };
    const auto playSound = [&](AVFrame* sound) -> bool {
        if (!s->audioClock) {
            return true;  // no device: the picture alone keeps going
        }
        if (!s->resampler) {
            AVChannelLayout out;
            av_channel_layout_default(&out, kOutputChannels);
            SwrContext* raw = nullptr;
            if (swr_alloc_set_opts2(&raw, &out, AV_SAMPLE_FMT_S16, kOutputRate, &sound->ch_layout,
                                    AVSampleFormat(sound->format), sound->sample_rate, 0,
                                    nullptr) < 0 ||
                swr_init(raw) < 0) {
                swr_free(&raw);
                return true;
            }
            s->resampler.reset(raw);
        }
        const int capacity = swr_get_out_samples(s->resampler.get(), sound->nb_samples);
        samples.resize(size_t(std::max(0, capacity)) * kOutputChannels);
        uint8_t* out = reinterpret_cast<uint8_t*>(samples.data());
        const int made =
            swr_convert(s->resampler.get(), &out, capacity,
                        const_cast<const uint8_t**>(sound->extended_data), sound->nb_samples);
        size_t done = 0;
        while (made > 0 && done < size_t(made)) {
            done += audio_->write(samples.data() + done * kOutputChannels, size_t(made) - done);
            if (done < size_t(made)) {
                std::unique_lock lock(mutex_);
                changed_.wait_for(lock, std::chrono::milliseconds(10));
                if (quit_ || seekTo_ >= 0) {
                    return false;
                }
            }
        }
        return true;
    };

    for (;;) {
        int64_t seek = -1;
        {
            std::unique_lock lock(mutex_);
            if (quit_) {
                break;
            }
            if (seekTo_ >= 0) {
                seek = seekTo_;
                seekTo_ = -1;
                s->mediaBase = seek;
                s->wallBase = Clock::now();
                s->discardBefore = seek;
                s->showNext = true;
                s->atEnd = false;
                if (s->audioClock) {
                    audio_->clear();
                }
            } else if ((paused_ && !s->showNext) || s->atEnd) {
                changed_.wait(lock);
                continue;
            }
        }
        if (seek >= 0) {
            if (const int status =
                    av_seek_frame(s->input.get(), -1, seek + s->start, AVSEEK_FLAG_BACKWARD);
                status < 0) {
                // The picture goes on from where it was; the slider follows it.
                Logger::log(4, "预览无法跳到 " + std::to_string(seek / 1000000) +
                                   " 秒: " + avErrorText(status));
            }
            for (AVCodecContext* decoder : {s->videoDecoder.get(), s->audioDecoder.get()}) {
                if (decoder) {
                    avcodec_flush_buffers(decoder);
                }
            }
            if (!s->videoDecoder) {
                position(seek, true);
            }
        }
        const int status = av_read_frame(s->input.get(), packet.get());
        const bool end = status < 0;
        const int index = end ? -1 : packet->stream_index;
        AVCodecContext* decoder = nullptr;
        AVStream* stream = nullptr;
        if (end || index == s->video) {
            decoder = s->videoDecoder.get();
            stream = s->video >= 0 ? s->input->streams[s->video] : nullptr;
        }
        if (!end && index == s->audio) {
            decoder = s->audioDecoder.get();
            stream = s->input->streams[s->audio];
        }
        if (decoder) {
            avcodec_send_packet(decoder, end ? nullptr : packet.get());
            while (avcodec_receive_frame(decoder, frame.get()) >= 0) {
                const int64_t pts = ptsOf(frame.get(), stream);
                const bool picture = decoder == s->videoDecoder.get();
                if (pts >= 0 && pts < s->discardBefore) {
                    av_frame_unref(frame.get());
                    continue;  // decoding forward from the key frame before the seek point
                }
                bool showNow = false;
                {
                    std::lock_guard lock(mutex_);
                    showNow = picture && s->showNext;
                    if (showNow) {
                        s->showNext = false;
                        s->mediaBase = std::max<int64_t>(0, pts);
                        s->wallBase = Clock::now();
                    }
                }
                if (showNow) {
                    show(frame.get());
                    position(std::max<int64_t>(0, pts), true);
                } else if (picture) {
                    if (waitFor(pts)) {
                        show(frame.get());
                        position(pts, false);
                    }
                } else if (!s->audioClock && !s->videoDecoder) {
                    if (waitFor(pts)) {
                        position(pts, false);
                    }
                } else {
                    playSound(frame.get());
                    if (!s->videoDecoder) {
                        position(pts, false);
                    }
                }
                av_frame_unref(frame.get());
                std::lock_guard lock(mutex_);
                if (quit_ || seekTo_ >= 0) {
                    break;
                }
            }
        }
        if (!end) {
            av_packet_unref(packet.get());
            continue;
        }
        bool reachedEnd = false;
        {
            std::lock_guard lock(mutex_);
            if (seekTo_ < 0 && !quit_) {
                s->atEnd = true;
                s->showNext = false;
                reachedEnd = !paused_;
                if (reachedEnd) {
                    s->mediaBase = s->duration;
                    s->running = false;
                    paused_ = true;
                }
            }
        }
        if (reachedEnd) {
            position(s->duration, true);
            emitState(TPlayState::psEnd);
        }
    }
}

}  // namespace talwyn::media
