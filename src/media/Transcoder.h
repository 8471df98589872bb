#pragma once

#include "media/ConverterEvents.h"
#include "media/OutputTarget.h"
#include "media/Probe.h"
#include "media/TaskOptions.h"

#include <functional>
#include <string>

// Converts one input into one output file. The output is written to a hidden file in the output
// folder and takes its final name only when it is complete; a stopped or failed conversion leaves
// nothing behind.

namespace talwyn::media {

class TaskControl;

struct TranscodeResult {
    bool finished = false;
    bool failed = false;
    bool incomplete = false;  // finished with what could be read
    ErrorKind kind = ErrorKind::None;
    std::string message;
    std::string outputFile;
    int64_t converted = 0, total = 0;  // microseconds
};

class Transcoder {
  public:
    struct Callbacks {
        std::function<void(const TProgressInfo&)> progress;
        // Asked before each picture; when true the picture goes to preview.
        std::function<bool()> wantsPreview;
        std::function<void(const PreviewPicture&)> preview;
    };

    Transcoder(int taskIndex, TInputOptions input, TOutputOptions output, TFileStreamInfo info,
               TaskControl& control, Callbacks callbacks, OutputNames& names,
               OutputNames::IsInput isInput);

    TranscodeResult run();

  private:
    int taskIndex_;
    TInputOptions input_;
    TOutputOptions output_;
    TFileStreamInfo info_;
    TaskControl& control_;
    Callbacks callbacks_;
    OutputNames& names_;
    OutputNames::IsInput isInput_;
};

}  // namespace talwyn::media
