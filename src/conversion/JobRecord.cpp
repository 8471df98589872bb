#include "conversion/JobRecord.h"

#include "catalogue/Catalogue.h"
#include "conversion/OutputRecord.h"
#include "media/OutputPlan.h"

extern "C" {
#include <libavutil/parseutils.h>
}

namespace talwyn::conversion {

using joblist::PresetKind;

namespace {

constexpr PresetKind kKinds[] = {PresetKind::FrameSize,  PresetKind::VideoBitrate,
                                 PresetKind::FrameRate,  PresetKind::AudioBitrate,
                                 PresetKind::SampleRate, PresetKind::Aspect};

// Two inputs as unlike as real ones get: a value the engine uses for both does not depend on the
// input, so it is what every file of the job gets.
media::TFileStreamInfo sampleInput(int width, int height, double frameRate, int sampleRate,
                                   int channels) {
    media::TFileStreamInfo info;
    info.Duration = 10'000'000;
    media::StreamSummary video;
    video.index = 0;
    video.video = true;
    video.codec = "h264";
    video.width = width;
    video.height = height;
    video.frameRate = frameRate;
    media::StreamSummary audio;
    audio.index = 1;
    audio.codec = "aac";
    audio.sampleRate = sampleRate;
    audio.channels = channels;
    info.Streams = {video, audio};
    info.BestVideo = 0;
    info.BestAudio = 1;
    return info;
}

const media::TFileStreamInfo& smallInput() {
    static const media::TFileStreamInfo info = sampleInput(176, 144, 15, 22050, 1);
    return info;
}

const media::TFileStreamInfo& largeInput() {
    static const media::TFileStreamInfo info = sampleInput(1280, 720, 30, 48000, 2);
    return info;
}

QString trimmedNumber(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

QString kbpsText(int64_t bitsPerSecond) {
    return trimmedNumber(double(bitsPerSecond) / 1000.0, 2) + QStringLiteral(" kbps");
}

QString rateText(AVRational rate) {
    return trimmedNumber(av_q2d(rate), 3);
}

// The frame rate a setting text asks for; {0, 1} for none.
AVRational parsedRate(const QString& text) {
    AVRational rate{0, 1};
    if (text.isEmpty() || av_parse_video_rate(&rate, text.toUtf8().constData()) < 0) {
        return {0, 1};
    }
    return rate;
}

// The setting a record holds for a preset kind, frame rates in one spelling.
QString settingKey(const JobRecord& record, PresetKind kind) {
    const QString setting = joblist::PresetSetting(record.fields, kind);
    const AVRational rate = parsedRate(setting);
    return kind == PresetKind::FrameRate && rate.num > 0 ? rateText(rate) : setting;
}

void replace(JobRecord& record, PresetKind kind, const QString& shown) {
    record.presets[size_t(kind)].effective = shown;
}

// Puts into the record the values the engine would use instead of what was chosen, so that the
// settings hold what the task really gets and the window can show it.
void settleOnEngineValues(JobRecord& record) {
    media::TOutputOptions options = TaskOptions(record);
    options.FileName = ("output" + record.extension).toStdString();
    const media::OutputPlan a = media::makeOutputPlan(options, smallInput());
    const media::OutputPlan b = media::makeOutputPlan(options, largeInput());
    if (!a.error.empty() || !b.error.empty()) {
        return;  // the task will say why it cannot run
    }
    joblist::WorkingFields& f = record.fields;
    if (a.video && b.video) {
        const media::VideoPlan& va = *a.video;
        const media::VideoPlan& vb = *b.video;
        const QString size = QStringLiteral("%1*%2").arg(va.width).arg(va.height);
        if (va.width == vb.width && va.height == vb.height && size != f.Video_FrameSize) {
            f.Video_FrameSize = size;
            replace(record, PresetKind::FrameSize, size);
        }
        const AVRational asked = parsedRate(f.Video_FrameRate);
        if (av_cmp_q(va.frameRate, vb.frameRate) == 0 &&
            (asked.num == 0 || rateText(asked) != rateText(va.frameRate))) {
            f.Video_FrameRate = QStringLiteral("%1/%2").arg(va.frameRate.num).arg(va.frameRate.den);
            replace(record, PresetKind::FrameRate, rateText(va.frameRate));
        }
        if (va.bitRate == vb.bitRate && va.bitRate > 0 && va.bitRate != f.Video_VideoBitrate) {
            f.Video_VideoBitrate = int32_t(va.bitRate);
            replace(record, PresetKind::VideoBitrate, kbpsText(va.bitRate));
        }
    }
    if (a.audio && b.audio) {
        const media::AudioPlan& aa = *a.audio;
        const media::AudioPlan& ab = *b.audio;
        bool numeric = false;
        const int askedRate = f.Video_AudioSampleRate.toInt(&numeric);
        if (aa.sampleRate == ab.sampleRate && (!numeric || askedRate != aa.sampleRate)) {
            f.Video_AudioSampleRate = QString::number(aa.sampleRate);
            replace(record, PresetKind::SampleRate, f.Video_AudioSampleRate);
        }
        if (aa.lossless) {
            if (f.Video_AudioBitrate > 0) {
                f.Video_AudioBitrate = -1;
                replace(record, PresetKind::AudioBitrate, QStringLiteral("无损"));
            }
        } else if (aa.bitRate == ab.bitRate && aa.bitRate > 0 &&
                   aa.bitRate != f.Video_AudioBitrate) {
            f.Video_AudioBitrate = int32_t(aa.bitRate);
            replace(record, PresetKind::AudioBitrate, kbpsText(aa.bitRate));
        }
    }
}

}  // namespace

JobRecord MakeJobRecord(const JobChoice& choice) {
    JobRecord record;
    record.choice = MendedChoice(choice);
    const int code = choice.profileCode();
    if (!catalogue::findProfile(code)) {
        return record;
    }
    const PresetTexts texts = ChosenTexts(record.choice);
    joblist::ApplyProfile(record.fields, code);
    for (const PresetKind kind : kKinds) {
        joblist::ApplyPresetText(record.fields, kind, texts[size_t(kind)]);
        record.presets[size_t(kind)].entry = texts[size_t(kind)];
    }
    record.extension = joblist::ProfileExtension(code);
    settleOnEngineValues(record);
    return record;
}

std::array<bool, 6> FixedPresetLists(const JobChoice& choice) {
    std::array<bool, 6> fixed{};
    for (const PresetKind kind : kKinds) {
        const auto entries = PresetEntries(choice, kind);
        if (entries.size() < 2) {
            continue;
        }
        std::optional<QString> common;
        bool same = true;
        bool replaced = false;
        for (int position = 0; same && position < int(entries.size()); ++position) {
            JobChoice other = choice;
            SetPresetPosition(other, kind, position);
            const JobRecord record = MakeJobRecord(other);
            const QString value = settingKey(record, kind);
            same = !common || *common == value;
            common = value;
            replaced = replaced || record.presets[size_t(kind)].replaced();
        }
        fixed[size_t(kind)] = same && replaced;
    }
    return fixed;
}

void WriteRecordColumns(joblist::JobRow& row, const JobRecord& record) {
    const joblist::WorkingFields& f = record.fields;
    auto& t = row.text;
    t[joblist::CatalogueSlotColumn] =
        QString::number(joblist::EncodeCatalogueSlot(record.choice.catalogue));
    t[joblist::PresetPositionsColumn] = joblist::EncodePresetPositions(record.choice.presets);
    t[joblist::VideoCodec] = f.Video_VideoCodec;
    t[joblist::AudioCodec] = f.Video_AudioCodec;
    t[joblist::AudioChannels] = f.Video_AudioChannels;
    t[joblist::VideoTag] = f.Video_VideoTag;
    t[joblist::FileExt] = f.Video_FileExt;
    t[joblist::FrameSize] = f.Video_FrameSize;
    t[joblist::VideoBitrate] = QString::number(f.Video_VideoBitrate);
    t[joblist::FrameRate] = f.Video_FrameRate;
    t[joblist::AudioBitrate] = QString::number(f.Video_AudioBitrate);
    t[joblist::AudioSampleRate] = f.Video_AudioSampleRate;
    t[joblist::FrameAspectRatio] = f.Video_FrameAspectRatio;
    t[joblist::DisableVideo] =
        f.Video_DisableVideo ? QStringLiteral("True") : QStringLiteral("False");
    t[joblist::TargetType] = f.Video_TargetType;
    t[joblist::NormType] = f.Video_NormType;
}

media::TOutputOptions TaskOptions(const JobRecord& record) {
    media::TOutputOptions options = OutputRecord(record.fields);
    if (!record.fields.Video_FileExt.isEmpty()) {
        options.FileExt = record.fields.Video_FileExt.toStdString();
    }
    if (options.VideoCodec == "libx264") {
        options.VideoTag.clear();  // the H.264 muxers choose their own tag
    }
    return options;
}

}  // namespace talwyn::conversion
