#pragma once

#include "conversion/JobChoice.h"
#include "joblist/WorkingFields.h"
#include "media/TaskOptions.h"

#include <QString>

#include <array>

// A job's complete settings record, derived from its choice by one function: the profile's output
// settings with the six preset entries applied, and where the engine could not use an entry as
// it stands, the value it will really use. The row's setting columns, the preset lists shown for
// the row and the task built at start all come from this record.

namespace talwyn::conversion {

// One preset as the job will really use it.
struct PresetOutcome {
    QString entry;      // the entry chosen in the list
    QString effective;  // the value really used, as a person reads it; empty: the entry itself
    bool replaced() const { return !effective.isEmpty(); }
};

struct JobRecord {
    JobChoice choice;               // positions outside their lists are put back on the default
    joblist::WorkingFields fields;  // the settings, replaced values already in place
    QString extension;              // of the output file name, with its dot
    std::array<PresetOutcome, 6> presets;  // indexed by joblist::PresetKind
};

// The record of a choice; a choice naming no profile gives neutral settings and no extension.
JobRecord MakeJobRecord(const JobChoice& choice);
// The lists whose every entry gives the same value (a disc standard's fixed values, a lossless
// codec's bit rate): choosing in them changes nothing, so the window locks them. By PresetKind.
std::array<bool, 6> FixedPresetLists(const JobChoice& choice);

// Writes the record into a row: "视频类别", "视频选项" and every setting column.
void WriteRecordColumns(joblist::JobRow& row, const JobRecord& record);
// The converter's output record for a task of this job (FileName left empty).
media::TOutputOptions TaskOptions(const JobRecord& record);

}  // namespace talwyn::conversion
