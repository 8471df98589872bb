#include "conversion/TaskBuilder.h"

#include "catalogue/OutputNaming.h"
#include "media/Converter.h"

#include <QFileInfo>

#include <set>

namespace talwyn::conversion {

using joblist::JobColumn;

void OverlayRowColumns(media::TOutputOptions& o, const joblist::JobRow& row) {
    const auto column = [&](JobColumn c) -> const QString& { return row.text[c]; };
    const QString& videoCodec = column(joblist::VideoCodec);
    if (!videoCodec.isEmpty()) {
        const bool x264 = videoCodec == QLatin1String("libx264");
        o.VideoCodec = videoCodec.toStdString();
        o.VideoPreset = x264 ? "libx264-default" : "";
    }
    const QString& audioCodec = column(joblist::AudioCodec);
    if (!audioCodec.isEmpty() && audioCodec != QLatin1String("AUTO")) {
        o.AudioCodec = audioCodec.toStdString();
    }
    if (!column(joblist::AudioChannels).isEmpty()) {
        o.AudioChannels = column(joblist::AudioChannels).toInt();
    }
    const bool tagged =
        !column(joblist::VideoTag).isEmpty() && videoCodec != QLatin1String("libx264");
    o.VideoTag = tagged ? column(joblist::VideoTag).toStdString() : std::string();
    if (!column(joblist::FileExt).isEmpty()) {
        o.FileExt = column(joblist::FileExt).toStdString();
    }
    if (!column(joblist::FrameSize).isEmpty()) {
        o.FrameSize = column(joblist::FrameSize).toStdString();
    }
    if (!column(joblist::VideoBitrate).isEmpty()) {
        o.VideoBitrate = column(joblist::VideoBitrate).toInt();
    }
    if (!column(joblist::FrameRate).isEmpty()) {
        o.FrameRate = column(joblist::FrameRate).toStdString();
    }
    const QString& audioBitrate = column(joblist::AudioBitrate);
    if (audioBitrate != QLatin1String("-1000") && audioBitrate != QLatin1String("-2000")) {
        o.AudioBitrate = audioBitrate.toInt();
    }
    const QString& sampleRate = column(joblist::AudioSampleRate);
    if (!sampleRate.isEmpty() && sampleRate != QLatin1String("AUTO")) {
        o.AudioSampleRate = sampleRate.toInt();
    }
    if (!column(joblist::FrameAspectRatio).isEmpty()) {
        o.FrameAspectRatio = column(joblist::FrameAspectRatio).toStdString();
    }
    o.DisableVideo = column(joblist::DisableVideo) == QLatin1String("True");
    const QString& target = column(joblist::TargetType);
    o.TargetType = target == QLatin1String("vcd")    ? media::TOptionTargetType::ttVCD
                   : target == QLatin1String("svcd") ? media::TOptionTargetType::ttSVCD
                   : target == QLatin1String("dvd")  ? media::TOptionTargetType::ttDVD
                                                     : media::TOptionTargetType::ttIgnore;
    const QString& norm = column(joblist::NormType);
    o.NormType = norm == QLatin1String("PAL")    ? media::TOptionNormType::ntPAL
                 : norm == QLatin1String("NTSC") ? media::TOptionNormType::ntNTSC
                                                 : media::TOptionNormType::ntAuto;
    o.AudioLanguage.clear();
}

BuildResult BuildConversionTasks(joblist::JobListModel& jobs, joblist::JobSlots& jobSlots,
                                 media::Converter& converter, const QString& outputFolder) {
    BuildResult result;
    converter.ClearTasks();
    std::set<QString> inputs, used;
    for (int i = 0; i < jobs.rowCount(); ++i) {
        inputs.insert(QFileInfo(jobs.text(i, joblist::InputFile)).absoluteFilePath());
    }
    for (int i = 0; i < jobs.rowCount(); ++i) {
        const joblist::JobRow& row = jobs.row(i);
        const QString input = row.text[joblist::InputFile];
        const QString wanted = outputFolder + QLatin1Char('/') + row.text[joblist::OutputFile];
        const QString output =
            catalogue::OutputNaming::uniquePath(wanted, false, [&](const QString& path) {
                const QString absolute = QFileInfo(path).absoluteFilePath();
                return used.count(absolute) > 0 || inputs.count(absolute) > 0;
            });
        used.insert(QFileInfo(output).absoluteFilePath());
        if (output != wanted) {
            jobs.setText(i, joblist::OutputFile, QFileInfo(output).fileName());
            ++result.renamed;
        }

        media::TInputOptions in;
        media::TOutputOptions out;
        if (jobSlots.isValid(row.slot)) {
            in = jobSlots.input(row.slot);
            out = jobSlots.output(row.slot);
        }
        in.FileName = input.toStdString();
        OverlayRowColumns(out, jobs.row(i));
        const int task = converter.AddTask(input.toStdString(), in);
        if (task < 0) {
            result.failures.push_back({row.id, QString::fromStdString(converter.LastErrMsg())});
            continue;
        }
        if (!converter.SetOutputFile(task, output.toStdString(), out)) {
            result.failures.push_back({row.id, QString::fromStdString(converter.LastErrMsg())});
            converter.RemoveTask(task);
            continue;
        }
        result.taskRows.push_back(row.id);
    }
    return result;
}

}  // namespace talwyn::conversion
