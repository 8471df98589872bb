#include "conversion/OutputRecord.h"

#include "catalogue/PresetConversion.h"

namespace talwyn::conversion {
namespace {

media::TOptionTargetType targetOf(const QString& text) {
    if (text == QLatin1String("vcd")) {
        return media::TOptionTargetType::ttVCD;
    }
    if (text == QLatin1String("svcd")) {
        return media::TOptionTargetType::ttSVCD;
    }
    if (text == QLatin1String("dvd")) {
        return media::TOptionTargetType::ttDVD;
    }
    return media::TOptionTargetType::ttIgnore;
}

media::TOptionNormType normOf(const QString& text) {
    if (text == QLatin1String("PAL")) {
        return media::TOptionNormType::ntPAL;
    }
    if (text == QLatin1String("NTSC")) {
        return media::TOptionNormType::ntNTSC;
    }
    return media::TOptionNormType::ntAuto;
}

bool isUnset(const QString& text) {
    return text.isEmpty() || text == QLatin1String("AUTO");
}

}  // namespace

media::TOutputOptions OutputRecord(const joblist::WorkingFields& f) {
    media::TOutputOptions record;
    if (!f.Video_VideoCodec.isEmpty()) {
        record.VideoCodec = f.Video_VideoCodec.toStdString();
        record.VideoPreset =
            f.Video_VideoCodec == QLatin1String("libx264") ? "libx264-default" : "";
    }
    if (!isUnset(f.Video_AudioCodec)) {
        record.AudioCodec = f.Video_AudioCodec.toStdString();
    }
    if (!f.Video_FrameRate.isEmpty()) {
        record.FrameRate = f.Video_FrameRate.toStdString();
    }
    record.DisableVideo = f.Video_DisableVideo;
    if (!f.Video_AudioChannels.isEmpty()) {
        record.AudioChannels = f.Video_AudioChannels.toInt();
    }
    if (f.Video_AudioSampleRate ==
        QString::fromUtf8(catalogue::PresetConversion::kKeepSourceQuality)) {
        record.KeepSourceQuality = true;
    } else if (!isUnset(f.Video_AudioSampleRate)) {
        record.AudioSampleRate = f.Video_AudioSampleRate.toInt();
    }
    if (!f.Video_FrameSize.isEmpty()) {
        record.FrameSize = f.Video_FrameSize.toStdString();
    }
    if (!f.Video_TargetType.isEmpty()) {
        record.TargetType = targetOf(f.Video_TargetType);
    }
    record.NormType = normOf(f.Video_NormType);
    record.AudioVolume =
        f.Video_AudioVolume == QLatin1String("256") ? 256 : f.Video_AudioVolume.toInt();
    if (!f.Video_FrameAspectRatio.isEmpty()) {
        record.FrameAspectRatio = f.Video_FrameAspectRatio.toStdString();
    }
    if (f.Video_AudioBitrate != -1000 && f.Video_AudioBitrate != -2000) {
        record.AudioBitrate = f.Video_AudioBitrate;
    }
    if (!f.Video_FileFormat.isEmpty()) {
        record.FileFormat = f.Video_FileFormat.toStdString();
    }
    if (!f.Video_VideoFilters.isEmpty()) {
        record.VideoFilters = f.Video_VideoFilters.toStdString();
    }
    if (!f.Video_VideoTag.isEmpty()) {
        record.VideoTag = f.Video_VideoTag.toStdString();
    }
    if (f.Video_VideoBitrate != -1000) {
        record.VideoBitrate = f.Video_VideoBitrate;
    }
    return record;
}

}  // namespace talwyn::conversion
