#pragma once

#include <QString>

#include <cstdint>

// The output settings of the profile in force while a row is built or changed, and the file the
// preview opens next. They carry nothing from one job to the next beyond the last profile applied.
// A default-made set holds the neutral values a profile starts from.

namespace talwyn::joblist {

struct WorkingFields {
    QString FileOutPutPath;        // output folder in force, also shown in the folder box
    QString Video_AddFileName;     // full path of the file being added
    QString Video_OutPutFileName;  // full output path formed for it
    QString Video_FileExt;
    QString Video_FileFormat;
    QString Video_VideoCodec;
    QString Video_AudioCodec;  // may be "AUTO"
    QString Video_VideoTag;
    QString Video_FrameSize;
    QString Video_FrameRate;
    QString Video_FrameAspectRatio;
    int32_t Video_VideoBitrate = -1;  // -1 none, -1000 not set
    int32_t Video_AudioBitrate = -1;
    QString Video_AudioChannels;
    QString Video_AudioSampleRate;  // may be "AUTO"
    QString Video_AudioVolume = QStringLiteral("256");
    QString Video_VideoFilters;
    QString Video_TargetType;
    QString Video_NormType;
    bool Video_DisableVideo = false;
    int32_t All_Trant_Number = 0;
    QString T_Movie_PLayer_FileName;
};

}  // namespace talwyn::joblist
