#include "joblist/ProfileApplication.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PresetConversion.h"

namespace talwyn::joblist {
namespace Conversion = catalogue::PresetConversion;

void ResetProfileSettings(WorkingFields& fields) {
    WorkingFields neutral;
    neutral.FileOutPutPath = fields.FileOutPutPath;
    neutral.Video_AddFileName = fields.Video_AddFileName;
    neutral.All_Trant_Number = fields.All_Trant_Number;
    neutral.T_Movie_PLayer_FileName = fields.T_Movie_PLayer_FileName;
    fields = neutral;
}

bool ApplyProfile(WorkingFields& fields, int profileCode) {
    ResetProfileSettings(fields);
    fields.All_Trant_Number = profileCode + 100;
    fields.Video_DisableVideo = false;
    const catalogue::ProfileRecord* profile = catalogue::findProfile(profileCode);
    if (!profile) {
        return false;
    }
    const catalogue::ProfileSettings& s = profile->settings;
    fields.Video_FileExt = QString::fromUtf8(s.FileExt);
    fields.Video_VideoCodec = QString::fromUtf8(s.VideoCodec);
    fields.Video_VideoTag = QString::fromUtf8(s.VideoTag);
    fields.Video_FrameSize = QString::fromUtf8(s.FrameSize);
    fields.Video_VideoBitrate = s.VideoBitrate;
    fields.Video_FrameRate = QString::fromUtf8(s.FrameRate);
    fields.Video_FrameAspectRatio = QString::fromUtf8(s.FrameAspectRatio);
    fields.Video_AudioCodec = QString::fromUtf8(s.AudioCodec);
    fields.Video_AudioChannels = QString::fromUtf8(s.AudioChannels);
    fields.Video_AudioSampleRate = QString::fromUtf8(s.AudioSampleRate);
    fields.Video_AudioBitrate = s.AudioBitrate;
    fields.Video_TargetType = QString::fromUtf8(s.TargetType);
    fields.Video_NormType = QString::fromUtf8(s.NormType);
    fields.Video_DisableVideo = s.DisableVideo;
    return true;
}

QString ProfileExtension(int profileCode) {
    const catalogue::ProfileRecord* profile = catalogue::findProfile(profileCode);
    return profile ? QString::fromUtf8(profile->settings.ext) : QString();
}

bool ApplyPresetText(WorkingFields& fields, PresetKind kind, const QString& text) {
    switch (kind) {
        case PresetKind::FrameSize:
            fields.Video_FrameSize = Conversion::frameSize(text);
            return true;
        case PresetKind::FrameRate:
            fields.Video_FrameRate = Conversion::frameRate(text);
            return true;
        case PresetKind::VideoBitrate:
            if (const auto rate = Conversion::videoBitrate(text)) {
                fields.Video_VideoBitrate = *rate;
                return true;
            }
            return false;
        case PresetKind::AudioBitrate:
            if (const auto rate = Conversion::audioBitrate(text)) {
                fields.Video_AudioBitrate = *rate;
                return true;
            }
            return false;
        case PresetKind::SampleRate:
            fields.Video_AudioSampleRate = Conversion::sampleRate(text);
            return true;
        case PresetKind::Aspect:
            if (const auto aspect = Conversion::aspect(text)) {
                fields.Video_FrameAspectRatio = *aspect;
                return true;
            }
            return false;
    }
    return false;
}

QString PresetSetting(const WorkingFields& fields, PresetKind kind) {
    switch (kind) {
        case PresetKind::FrameSize:
            return fields.Video_FrameSize;
        case PresetKind::VideoBitrate:
            return QString::number(fields.Video_VideoBitrate);
        case PresetKind::FrameRate:
            return fields.Video_FrameRate;
        case PresetKind::AudioBitrate:
            return QString::number(fields.Video_AudioBitrate);
        case PresetKind::SampleRate:
            return fields.Video_AudioSampleRate;
        case PresetKind::Aspect:
            break;
    }
    return fields.Video_FrameAspectRatio;
}

}  // namespace talwyn::joblist
