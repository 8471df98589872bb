#include "conversion/TaskBuilder.h"

#include "catalogue/OutputNaming.h"
#include "conversion/JobRecord.h"
#include "media/Converter.h"
#include "media/PathRule.h"

#include <QFileInfo>

#include <set>

namespace talwyn::conversion {

BuildResult BuildConversionTasks(joblist::JobListModel& jobs, joblist::JobSlots& jobSlots,
                                 media::Converter& converter, const QString& outputFolder,
                                 bool overwrite) {
    BuildResult result;
    converter.ClearTasks();
    const auto normal = [](const QString& path) { return media::normalPath(path.toStdString()); };
    std::set<std::string> inputs, used;
    for (int i = 0; i < jobs.rowCount(); ++i) {
        inputs.insert(normal(jobs.text(i, joblist::InputFile)));
    }
    for (int i = 0; i < jobs.rowCount(); ++i) {
        const joblist::JobRow& row = jobs.row(i);
        const QString input = row.text[joblist::InputFile];
        const QString wanted = outputFolder + QLatin1Char('/') + row.text[joblist::OutputFile];
        const QString output =
            catalogue::OutputNaming::uniquePath(wanted, false, [&](const QString& path) {
                return used.count(normal(path)) > 0 || inputs.count(normal(path)) > 0;
            });
        used.insert(normal(output));
        if (output != wanted) {
            jobs.setText(i, joblist::OutputFile, QFileInfo(output).fileName());
            ++result.renamed;
        }

        // The row's choice alone decides what the task writes.
        const std::optional<JobChoice> choice = ChoiceOfRow(row);
        if (!choice) {
            result.failures.push_back({row.id, QStringLiteral("无法识别这一行的输出格式设置")});
            continue;
        }
        media::TOutputOptions out = TaskOptions(MakeJobRecord(*choice));
        out.Overwrite = overwrite;
        media::TInputOptions in;
        if (jobSlots.isValid(row.slot)) {
            in = jobSlots.input(row.slot);
        }
        in.FileName = input.toStdString();
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
