#pragma once

#include "conversion/JobChoice.h"
#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"
#include "media/Converter.h"
#include "support/ConverterRun.h"

#include <map>
#include <string>

// Converts one file with a profile and some of its preset entries, as a row of the window would.

namespace talwyn::test {

// An empty text when the file was converted, else why not.
inline std::string convertWithProfile(const std::string& input, int code,
                                      const std::map<joblist::PresetKind, QString>& entries,
                                      const std::string& output) {
    auto presets = conversion::DefaultPresetTexts(code);
    for (const auto& [kind, entry] : entries) {
        presets[size_t(kind)] = entry;
    }
    const auto choice = conversion::ChoiceWithTexts(code, presets);
    if (!choice) {
        return "the profile does not offer these entries";
    }
    const conversion::JobRecord record = conversion::MakeJobRecord(*choice);
    media::Converter converter;
    ConverterRun run(converter);
    const int task = converter.AddTask(input);
    if (task < 0) {
        return converter.LastErrMsg();
    }
    if (!converter.SetOutputFile(task, output, conversion::TaskOptions(record))) {
        return converter.LastErrMsg();
    }
    if (!converter.Start(1) || !run.waitForEnd()) {
        return "the conversion did not end";
    }
    const media::TTerminateInfo end = run.ends().at(task);
    if (!end.Finished || end.Incomplete) {
        return "not converted: " + end.ExceptionMsg;
    }
    return {};
}

}  // namespace talwyn::test
