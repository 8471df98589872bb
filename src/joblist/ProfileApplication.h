#pragma once

#include "joblist/WorkingFields.h"

#include <QString>

// How a profile and the six preset choices become the working settings of a job.

namespace talwyn::joblist {

// The six preset lists, in the order they are filled.
enum class PresetKind { FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, Aspect };

// Puts the neutral values back; the output folder, the file being added, the profile number
// and the preview file stay.
void ResetProfileSettings(WorkingFields& fields);
// Resets, then stores the profile's own settings and All_Trant_Number. False for an unknown
// code (the settings then stay neutral).
bool ApplyProfile(WorkingFields& fields, int profileCode);
// The output extension of a profile's file names (empty for an unknown code).
QString ProfileExtension(int profileCode);
// Sets the preset's working setting from a list text; false (setting kept) when the text holds
// no value for it.
bool ApplyPresetText(WorkingFields& fields, PresetKind kind, const QString& text);
// The working setting of a preset as a job column shows it.
QString PresetSetting(const WorkingFields& fields, PresetKind kind);

}  // namespace talwyn::joblist
