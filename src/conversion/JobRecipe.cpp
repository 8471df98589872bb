#include "conversion/JobRecipe.h"

#include "catalogue/Catalogue.h"
#include "conversion/OutputRecord.h"

namespace talwyn::conversion {

using joblist::PresetKind;

PresetTexts DefaultPresetTexts(int profileCode) {
    PresetTexts texts;
    if (const catalogue::ProfileRecord* profile = catalogue::findProfile(profileCode)) {
        const catalogue::PresetRow& row = profile->presets;
        const catalogue::PresetCell* cells[] = {&row.frameSize,  &row.videoBitrate,
                                                &row.frameRate,  &row.audioBitrate,
                                                &row.sampleRate, &row.aspect};
        for (size_t i = 0; i < texts.size(); ++i) {
            texts[i] = QString::fromUtf8(cells[i]->selected);
        }
    }
    return texts;
}

joblist::WorkingFields JobSettings(int profileCode, const PresetTexts& presets) {
    joblist::WorkingFields fields;
    joblist::ApplyProfile(fields, profileCode);
    for (const PresetKind kind :
         {PresetKind::FrameSize, PresetKind::FrameRate, PresetKind::VideoBitrate,
          PresetKind::SampleRate, PresetKind::AudioBitrate, PresetKind::Aspect}) {
        joblist::ApplyPresetText(fields, kind, presets[size_t(kind)]);
    }
    return fields;
}

media::TOutputOptions TaskRecord(const joblist::WorkingFields& fields) {
    media::TOutputOptions record = OutputRecord(fields);
    if (!fields.Video_FileExt.isEmpty()) {
        record.FileExt = fields.Video_FileExt.toStdString();
    }
    return record;
}

}  // namespace talwyn::conversion
