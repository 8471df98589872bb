#pragma once

#include "joblist/WorkingFields.h"
#include "media/TaskOptions.h"

// The converter's output record filled from a job's settings (its record's task options add the
// container and what the engine needs beyond them).

namespace talwyn::conversion {

// FileExt is left empty here.
media::TOutputOptions OutputRecord(const joblist::WorkingFields& fields);

}  // namespace talwyn::conversion
