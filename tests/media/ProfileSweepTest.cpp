#include "catalogue/Catalogue.h"
#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"
#include "media/OutputPlan.h"
#include "media/Probe.h"
#include "support/ConverterRun.h"
#include "support/MediaFiles.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/parseutils.h>
}

#include <QDir>
#include <QTemporaryDir>

using namespace talwyn;
using test::MediaFiles;

namespace {

const media::StreamSummary* stream(const media::TFileStreamInfo& info, bool video) {
    for (const auto& s : info.Streams) {
        if (s.video == video) {
            return &s;
        }
    }
    return nullptr;
}

std::string codecOf(const std::string& encoder) {
    const AVCodec* codec = avcodec_find_encoder_by_name(media::encoderName(encoder).c_str());
    return codec ? avcodec_get_name(codec->id) : "?";
}

struct SweepCase {
    int code;
    bool fromTone;
};

std::vector<SweepCase> sweepCases() {
    std::vector<SweepCase> cases;
    for (const auto& profile : catalogue::kProfiles) {
        cases.push_back({profile.code, false});
        if (profile.settings.DisableVideo) {
            cases.push_back({profile.code, true});
        }
    }
    return cases;
}

class ProfileSweep : public testing::TestWithParam<SweepCase> {};

}  // namespace

// Every profile, with its preselected presets, converts the clip (and the audio profiles also
// the tone); the output is probed, not taken on the converter's word.
TEST_P(ProfileSweep, ConvertsAndProbesRight) {
    const SweepCase sweep = GetParam();
    const catalogue::ProfileRecord& profile = *catalogue::findProfile(sweep.code);
    const MediaFiles& media = MediaFiles::get();
    QTemporaryDir dir;
    const QString input = sweep.fromTone ? media.tone : media.clip;
    const QString output =
        dir.filePath(QStringLiteral("out") + QString::fromUtf8(profile.settings.ext));

    const auto presets = conversion::DefaultPresetTexts(sweep.code);
    const media::TOutputOptions record = conversion::TaskOptions(
        conversion::MakeJobRecord(*conversion::DefaultChoiceForCode(sweep.code)));
    media::Converter converter;
    test::ConverterRun run(converter);
    const int task = converter.AddTask(input.toStdString());
    ASSERT_EQ(task, 0) << converter.LastErrMsg();
    ASSERT_TRUE(converter.SetOutputFile(task, output.toStdString(), record))
        << converter.LastErrMsg();
    ASSERT_TRUE(converter.Start(1));
    ASSERT_TRUE(run.waitForEnd());
    const auto end = run.ends().at(0);
    ASSERT_TRUE(end.Finished) << end.ExceptionMsg;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no leftovers
    // The last report tells the size of the finished file.
    EXPECT_EQ(run.progress(0).back().CurrentSize, QFileInfo(output).size());

    media::Probe input_;
    ASSERT_TRUE(input_.LoadFile(input.toStdString()));
    media::TOutputOptions planned = record;
    planned.FileName = output.toStdString();
    const media::OutputPlan plan = media::makeOutputPlan(planned, input_.FileStreamInfo());
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    media::Probe probe;
    ASSERT_TRUE(probe.LoadFile(output.toStdString())) << probe.LastErrMsg();
    const auto& info = probe.FileStreamInfo();
    if (info.FormatName != "swf" ||
        info.Duration > 0) {  // a Flash file with pictures keeps no duration
        EXPECT_NEAR(info.Duration / 1e6, 2.0, 0.3);
    }

    const media::StreamSummary* audio = stream(info, false);
    ASSERT_NE(audio, nullptr);
    if (*profile.settings.AudioCodec) {
        EXPECT_EQ(audio->codec, codecOf(profile.settings.AudioCodec));
    }
    const int wantedRate = presets[size_t(joblist::PresetKind::SampleRate)].toInt();
    EXPECT_EQ(audio->sampleRate, plan.audio->sampleRate);
    if (plan.notes.empty() && !*profile.settings.TargetType) {
        EXPECT_EQ(audio->sampleRate, wantedRate);
    }
    if (*profile.settings.AudioChannels) {
        EXPECT_EQ(audio->channels, plan.audio->channels);
    }

    const media::StreamSummary* video = stream(info, true);
    if (profile.settings.DisableVideo || sweep.fromTone) {
        EXPECT_EQ(video, nullptr);
        return;
    }
    ASSERT_NE(video, nullptr);
    if (*profile.settings.VideoCodec && !*profile.settings.TargetType) {
        EXPECT_EQ(video->codec, codecOf(profile.settings.VideoCodec));
    }
    EXPECT_EQ(video->width, plan.video->width);
    EXPECT_EQ(video->height, plan.video->height);
    const QString size = QString::fromStdString(record.FrameSize);
    if (plan.notes.empty() && !*profile.settings.TargetType) {
        const QString expected = size.isEmpty() ? QStringLiteral("320*240") : size;
        EXPECT_EQ(QStringLiteral("%1*%2").arg(video->width).arg(video->height), expected);
    }
    if (*profile.settings.VideoTag && std::string(profile.settings.VideoCodec) != "libx264" &&
        std::string(profile.settings.ext) == ".avi") {
        EXPECT_EQ(video->codecTag, profile.settings.VideoTag);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryProfile, ProfileSweep, testing::ValuesIn(sweepCases()),
                         [](const testing::TestParamInfo<SweepCase>& info) {
                             return "profile_" + std::to_string(info.param.code) +
                                    (info.param.fromTone ? "_tone" : "_clip");
                         });

namespace {

// Profiles whose encoders or containers take only some rates, and every entry they offer.
struct ConstrainedCase {
    int code;
    joblist::PresetKind kind;
    std::string entry;
};

std::vector<ConstrainedCase> constrainedCases() {
    std::vector<ConstrainedCase> cases;
    for (const auto& profile : catalogue::kProfiles) {
        const std::string ext = profile.settings.ext;
        const std::string video = profile.settings.VideoCodec;
        const bool constrained = ext == ".mpg" || ext == ".mp2" || ext == ".ac3" || ext == ".amr" ||
                                 ext == ".mp3" || ext == ".swf" || ext == ".flv" || ext == ".3gp" ||
                                 video == "mpeg1video" || video == "mpeg2video";
        if (!constrained) {
            continue;
        }
        const std::pair<joblist::PresetKind, const catalogue::PresetCell*> lists[] = {
            {joblist::PresetKind::FrameRate, &profile.presets.frameRate},
            {joblist::PresetKind::SampleRate, &profile.presets.sampleRate},
            {joblist::PresetKind::AudioBitrate, &profile.presets.audioBitrate},
        };
        for (const auto& [kind, cell] : lists) {
            for (const char* entry : cell->list->entries) {
                cases.push_back({profile.code, kind, entry});
            }
        }
    }
    return cases;
}

class ConstrainedSweep : public testing::TestWithParam<ConstrainedCase> {};

}  // namespace

TEST_P(ConstrainedSweep, EveryOfferedEntryConverts) {
    const ConstrainedCase sweep = GetParam();
    const catalogue::ProfileRecord& profile = *catalogue::findProfile(sweep.code);
    QTemporaryDir dir;
    const QString output =
        dir.filePath(QStringLiteral("out") + QString::fromUtf8(profile.settings.ext));
    auto presets = conversion::DefaultPresetTexts(sweep.code);
    presets[size_t(sweep.kind)] = QString::fromStdString(sweep.entry);
    const conversion::JobRecord record =
        conversion::MakeJobRecord(*conversion::ChoiceWithTexts(sweep.code, presets));
    media::Converter converter;
    test::ConverterRun run(converter);
    const int task = converter.AddTask(MediaFiles::get().shortClip.toStdString());
    ASSERT_GE(task, 0) << converter.LastErrMsg();
    ASSERT_TRUE(
        converter.SetOutputFile(task, output.toStdString(), conversion::TaskOptions(record)))
        << converter.LastErrMsg();
    ASSERT_TRUE(converter.Start(1));
    ASSERT_TRUE(run.waitForEnd());
    ASSERT_TRUE(run.ends().at(0).Finished) << run.ends().at(0).ExceptionMsg;
    media::Probe probe;
    ASSERT_TRUE(probe.LoadFile(output.toStdString())) << probe.LastErrMsg();
    const media::StreamSummary* audio = stream(probe.FileStreamInfo(), false);
    ASSERT_NE(audio, nullptr);
    const media::StreamSummary* video = stream(probe.FileStreamInfo(), true);
    EXPECT_EQ(video != nullptr, !profile.settings.DisableVideo);

    // The rates the window shows for this choice (the entry, or the value it says is used
    // instead) are the rates of the file.
    bool numeric = false;
    const int shownRate = record.fields.Video_AudioSampleRate.toInt(&numeric);
    if (numeric) {
        EXPECT_EQ(audio->sampleRate, shownRate) << record.presets[4].effective.toStdString();
    }
    if (probe.FileStreamInfo().FormatName == "mp3") {  // constant bit rate, read from the frames
        EXPECT_EQ(audio->bitRate, record.fields.Video_AudioBitrate)
            << record.presets[3].effective.toStdString();
    }
    AVRational shownFps{0, 1};
    if (video && !record.fields.Video_FrameRate.isEmpty() &&
        av_parse_video_rate(&shownFps, record.fields.Video_FrameRate.toUtf8().constData()) >= 0) {
        EXPECT_NEAR(video->frameRate, av_q2d(shownFps), 0.01)
            << record.fields.Video_FrameRate.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(ConstrainedEncoders, ConstrainedSweep,
                         testing::ValuesIn(constrainedCases()),
                         [](const testing::TestParamInfo<ConstrainedCase>& info) {
                             std::string name = "profile_" + std::to_string(info.param.code) + "_" +
                                                std::to_string(int(info.param.kind)) + "_";
                             for (const char c : info.param.entry) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name + "_" + std::to_string(info.index);
                         });
