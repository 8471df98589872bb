#pragma once

#include "joblist/JobListModel.h"
#include "joblist/JobSlots.h"
#include "media/TaskOptions.h"

#include <QString>

#include <vector>

namespace talwyn::media {
class Converter;
}

// Turns the job list into the converter's tasks at start: one task per row, in row order, each
// with the settings record of the row's own choice (its slot gives the input record only).

namespace talwyn::conversion {

struct BuildResult {
    std::vector<quint64> taskRows;  // task index -> row id
    struct Failure {
        quint64 row;
        QString message;
    };
    std::vector<Failure> failures;  // rows that could not become tasks
    int renamed = 0;                // rows whose output name was made unique
};

// Output names are made unique against each other and against every input first (the later row
// gets "_1", "_2", … and its "输出文件" is updated). A row that cannot become a task is reported
// and the others still run.
// With overwrite, a task may replace an existing file of its name that is no input; the name
// itself is taken when the task starts.
BuildResult BuildConversionTasks(joblist::JobListModel& jobs, joblist::JobSlots& jobSlots,
                                 media::Converter& converter, const QString& outputFolder,
                                 bool overwrite);

}  // namespace talwyn::conversion
