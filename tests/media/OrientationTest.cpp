#include "media/Orientation.h"
#include "media/OutputPlan.h"
#include "media/Player.h"
#include "media/Probe.h"
#include "support/DecodeFrames.h"
#include "support/MediaMaker.h"
#include "support/ProfileConversion.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/display.h>
}

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace talwyn;

namespace {

// Where the white block of a corner-marked picture is seen: its centre relative to the picture
// (the part that is not black bars), and that part's size.
struct MarkSpot {
    bool right = false, bottom = false;
    int left = 0, top = 0, width = 0, height = 0;  // the picture inside the frame
};

MarkSpot findMark(const std::vector<uint8_t>& luma, int width, int height) {
    int left = width, top = height, right = -1, bottom = -1;
    double markX = 0, markY = 0, marked = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int value = luma[size_t(y) * width + x];
            if (value > 48) {  // the grey picture, not the black bars
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
            if (value > 160) {
                markX += x, markY += y, ++marked;
            }
        }
    }
    MarkSpot spot;
    spot.left = left;
    spot.top = top;
    spot.width = right - left + 1;
    spot.height = bottom - top + 1;
    if (marked > 0) {
        spot.right = markX / marked > left + spot.width / 2.0;
        spot.bottom = markY / marked > top + spot.height / 2.0;
    }
    return spot;
}

// The first picture of the file's video, as grey levels; its size in width and height.
std::vector<uint8_t> firstPicture(const std::string& path, int& width, int& height) {
    std::vector<uint8_t> luma;
    test::decodeFrames(path, AVMEDIA_TYPE_VIDEO, [&](const AVFrame& frame) {
        width = frame.width;
        height = frame.height;
        luma.resize(size_t(width) * height);
        for (int y = 0; y < height; ++y) {
            std::copy_n(frame.data[0] + y * frame.linesize[0], width, &luma[size_t(y) * width]);
        }
        return false;
    });
    return luma;
}

struct Turn {
    int degrees;
    bool mirror;
    bool right, bottom;  // where the top-left corner of the recorded picture is seen
};

// Seen by eye: a clockwise quarter turn takes the top-left corner to the top right, and so on.
const Turn kTurns[] = {
    {90, false, true, false}, {180, false, true, true}, {270, false, false, true},
    {0, true, true, false},   {90, true, true, true},
};

}  // namespace

// Every quarter turn and flip a display matrix can hold, read as the pictures must be turned.
TEST(Orientation, ReadsEveryQuarterTurnAndFlipOfTheMatrix) {
    for (const Turn& turn : kTurns) {
        int32_t matrix[9];
        // As the fixture maker writes them (and phones do: 90 here is shown clockwise).
        av_display_rotation_set(matrix, turn.mirror ? -turn.degrees : turn.degrees);
        if (turn.mirror) {
            av_display_matrix_flip(matrix, 1, 0);
        }
        const media::Orientation orientation = media::orientationOfMatrix(matrix);
        EXPECT_EQ(orientation.quarterTurns, turn.degrees / 90) << turn.degrees;
        EXPECT_EQ(orientation.mirrored, turn.mirror) << turn.degrees;

        // A 3x2 picture whose top-left pixel is marked lands where the eye expects it.
        std::vector<uint8_t> pixels(3 * 2 * 4, 0);
        pixels[0] = 255;
        int width = 3, height = 2;
        const auto upright = media::uprightPixels(pixels, width, height, orientation);
        EXPECT_EQ(width, turn.degrees % 180 ? 2 : 3);
        const int at = turn.right ? width - 1 : 0;
        const int row = turn.bottom ? height - 1 : 0;
        EXPECT_EQ(upright[(size_t(row) * width + at) * 4], 255)
            << turn.degrees << (turn.mirror ? " mirrored" : "");
    }
    int32_t odd[9];
    av_display_rotation_set(odd, 30);
    EXPECT_TRUE(media::orientationOfMatrix(odd).upright());  // not a quarter turn: left alone
}

// A phone-style clip (320x240 recorded, shown turned or flipped) through an MP4, an AVI, a 3GP
// and a DVD profile: the output's pictures are upright and it carries no turn of its own.
// Kept size stays upright; a chosen size ("176*144") is turned for a portrait picture; the DVD's
// fixed frame gets the portrait picture centred on black.
TEST(Orientation, TurnedClipsConvertUpright) {
    QTemporaryDir dir;
    struct Profile {
        int code;
        int landscapeWidth, landscapeHeight;  // of the output for an upright source
        bool fixedFrame;
    };
    const Profile profiles[] = {{1004, 320, 240, false},
                                {1500, 320, 240, false},
                                {9, 176, 144, false},
                                {11, 720, 576, true},
                                {12, 480, 576, true}};
    for (const Turn& turn : kTurns) {
        test::MediaSpec spec;
        spec.seconds = 0.4;
        spec.cornerMark = true;
        spec.displayTurn = turn.degrees;
        spec.displayMirror = turn.mirror;
        const std::string input =
            dir.filePath(
                   QStringLiteral("phone%1%2.mov").arg(turn.degrees).arg(turn.mirror ? "m" : ""))
                .toStdString();
        ASSERT_EQ(test::makeMedia(input, spec), "");
        media::Probe source;
        ASSERT_TRUE(source.LoadFile(input)) << source.LastErrMsg();
        EXPECT_NE(source.FileInfoText().find(turn.degrees ? "旋转 " + std::to_string(turn.degrees)
                                                          : std::string("水平翻转")),
                  std::string::npos)
            << source.FileInfoText();
        const bool portrait = turn.degrees % 180 != 0;

        for (const Profile& profile : profiles) {
            const std::string label = std::to_string(profile.code) + " " +
                                      std::to_string(turn.degrees) + (turn.mirror ? " m" : "");
            const std::string output =
                dir.filePath(QStringLiteral("out%1.%2")
                                 .arg(QString::fromStdString(label).replace(' ', '_'))
                                 .arg(profile.code == 1004 ? "mp4"
                                      : profile.code == 9  ? "3gp"
                                      : profile.code >= 11 ? "mpg"
                                                           : "avi"))
                    .toStdString();
            ASSERT_EQ(test::convertWithProfile(input, profile.code, {}, output), "") << label;
            media::Probe probe;
            ASSERT_TRUE(probe.LoadFile(output)) << label << ": " << probe.LastErrMsg();
            const auto& streams = probe.FileStreamInfo().Streams;
            const auto video = *std::find_if(streams.begin(), streams.end(),
                                             [](const auto& s) { return s.video; });
            EXPECT_TRUE(video.orientation.upright()) << label;
            const bool turnedFrame = portrait && !profile.fixedFrame;
            EXPECT_EQ(video.width, turnedFrame ? profile.landscapeHeight : profile.landscapeWidth)
                << label;
            EXPECT_EQ(video.height, turnedFrame ? profile.landscapeWidth : profile.landscapeHeight)
                << label;

            int width = 0, height = 0;
            const auto luma = firstPicture(output, width, height);
            ASSERT_FALSE(luma.empty()) << label;
            const MarkSpot spot = findMark(luma, width, height);
            EXPECT_EQ(spot.right, turn.right) << label;
            EXPECT_EQ(spot.bottom, turn.bottom) << label;
            if (portrait && profile.fixedFrame) {
                // A 3:4 picture on a 4:3 screen: three quarters of three quarters of the width,
                // whatever the frame's pixels (720x576 for DVD, 480x576 for SVCD).
                const int picture = profile.landscapeWidth * 9 / 16;
                EXPECT_NEAR(spot.width, picture, 10) << label;
                EXPECT_NEAR(spot.left, (profile.landscapeWidth - picture) / 2, 10) << label;
                EXPECT_EQ(spot.height, profile.landscapeHeight) << label;
            } else {
                EXPECT_GE(spot.width, width - 2) << label;  // no bars
            }
        }
    }
}

// The preview pane shows the turned clip upright, its first picture included.
TEST(Orientation, PreviewShowsTheClipUpright) {
    QTemporaryDir dir;
    for (const Turn& turn : kTurns) {
        test::MediaSpec spec;
        spec.seconds = 0.4;
        spec.audio = false;
        spec.cornerMark = true;
        spec.displayTurn = turn.degrees;
        spec.displayMirror = turn.mirror;
        const std::string input =
            dir.filePath(QStringLiteral("p%1%2.mp4").arg(turn.degrees).arg(turn.mirror ? "m" : ""))
                .toStdString();
        ASSERT_EQ(test::makeMedia(input, spec), "");

        media::Player player;
        std::mutex mutex;
        std::condition_variable shown;
        bool picture = false;
        int openedWidth = 0, openedHeight = 0;
        player.setEvents({[&](int64_t, int w, int h) {
                              std::lock_guard lock(mutex);
                              openedWidth = w;
                              openedHeight = h;
                          },
                          {},
                          {},
                          [&] {
                              std::lock_guard lock(mutex);
                              picture = true;
                              shown.notify_all();
                          },
                          {}});
        ASSERT_TRUE(player.Open(input, 200, 200, true)) << player.LastErrMsg();
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(shown.wait_for(lock, std::chrono::seconds(10), [&] { return picture; }));
        }
        const media::PlayerPicture frame = player.CurrentFrame();
        player.Stop(true);
        const bool portrait = turn.degrees % 180 != 0;
        EXPECT_EQ(openedWidth < openedHeight, portrait) << turn.degrees;
        EXPECT_EQ(frame.width < frame.height, portrait) << turn.degrees;
        std::vector<uint8_t> luma(size_t(frame.width) * frame.height);
        for (size_t i = 0; i < luma.size(); ++i) {
            luma[i] = frame.rgb32[i * 4 + 1];  // green follows the grey level
        }
        const MarkSpot spot = findMark(luma, frame.width, frame.height);
        EXPECT_EQ(spot.right, turn.right) << turn.degrees << (turn.mirror ? " mirrored" : "");
        EXPECT_EQ(spot.bottom, turn.bottom) << turn.degrees << (turn.mirror ? " mirrored" : "");
    }
}

// What a chosen size and aspect mean for a portrait picture (a phone's 1920x1080 turned 90°):
// the long side first, so the frame and its shape turn with the picture; fixed frames keep
// theirs and box the picture.
TEST(Orientation, SizesAndAspectsNameTheLongSideFirst) {
    media::TFileStreamInfo input;
    media::StreamSummary video;
    video.index = 0;
    video.video = true;
    video.codec = "h264";
    video.width = 1920;
    video.height = 1080;
    video.frameRate = 25;  // PAL for the disc standards
    video.orientation.quarterTurns = 1;
    input.Streams = {video};
    input.BestVideo = 0;
    struct Case {
        const char* size;
        const char* aspect;
        media::TOptionTargetType target;
        int width, height;
        AVRational shown;  // display aspect of the frame; 0: the picture's own
        bool boxed;
    };
    const Case cases[] = {
        {"", "", media::TOptionTargetType::ttIgnore, 1080, 1920, {0, 1}, false},
        {"320*240", "", media::TOptionTargetType::ttIgnore, 240, 320, {0, 1}, false},
        {"480*480", "4:3", media::TOptionTargetType::ttIgnore, 480, 480, {3, 4}, false},
        {"1280*720", "16:9", media::TOptionTargetType::ttIgnore, 720, 1280, {9, 16}, false},
        {"", "", media::TOptionTargetType::ttDVD, 720, 576, {4, 3}, true},
        {"", "", media::TOptionTargetType::ttSVCD, 480, 576, {4, 3}, true},
    };
    for (const Case& c : cases) {
        media::TOutputOptions options;
        options.FileName = c.target == media::TOptionTargetType::ttIgnore ? "out.mp4" : "out.mpg";
        options.VideoCodec = c.target == media::TOptionTargetType::ttIgnore ? "libx264" : "";
        options.FrameSize = c.size;
        options.FrameAspectRatio = c.aspect;
        options.TargetType = c.target;
        options.DisableAudio = true;
        const media::OutputPlan plan = media::makeOutputPlan(options, input);
        const std::string label = std::string(c.size) + " " + c.aspect;
        ASSERT_TRUE(plan.error.empty()) << label << plan.error;
        ASSERT_TRUE(plan.video) << label;
        EXPECT_EQ(plan.video->width, c.width) << label;
        EXPECT_EQ(plan.video->height, c.height) << label;
        EXPECT_EQ(av_cmp_q(plan.video->displayAspect, c.shown), 0)
            << label << " " << plan.video->displayAspect.num << ":"
            << plan.video->displayAspect.den;
        EXPECT_EQ(plan.video->pictureWidth > 0, c.boxed) << label;
        EXPECT_EQ(plan.video->orientation.quarterTurns, 1) << label;
    }
}
