#pragma once

#include "joblist/WorkingFields.h"
#include "media/TaskOptions.h"

// The converter's output record for a new job, filled from the working settings.

namespace talwyn::conversion {

// The record of a file being added; FileExt is left empty (the extension of the file name
// decides the format until the job's own columns are applied at start).
media::TOutputOptions OutputRecord(const joblist::WorkingFields& fields);

}  // namespace talwyn::conversion
