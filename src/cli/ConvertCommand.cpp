#include "catalogue/Catalogue.h"
#include "catalogue/OutputNaming.h"
#include "cli/CliCommands.h"
#include "cli/ExistingOutput.h"
#include "cli/ProgressPrinter.h"
#include "cli/RunReport.h"
#include "cli/WorkList.h"
#include "conversion/Batch.h"
#include "conversion/JobRecipe.h"
#include "conversion/JobRecord.h"
#include "joblist/TextFormats.h"
#include "media/Converter.h"
#include "media/Logger.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <thread>
#include <utility>

namespace talwyn::cli {
namespace {

namespace fs = std::filesystem;
using joblist::PresetKind;

struct PresetOption {
    const char* name;
    PresetKind kind;
    const catalogue::PresetCell catalogue::PresetRow::*cell;
};

const PresetOption kPresetOptions[] = {
    {"frame_size", PresetKind::FrameSize, &catalogue::PresetRow::frameSize},
    {"video_bitrate", PresetKind::VideoBitrate, &catalogue::PresetRow::videoBitrate},
    {"frame_rate", PresetKind::FrameRate, &catalogue::PresetRow::frameRate},
    {"audio_bitrate", PresetKind::AudioBitrate, &catalogue::PresetRow::audioBitrate},
    {"sample_rate", PresetKind::SampleRate, &catalogue::PresetRow::sampleRate},
    {"aspect", PresetKind::Aspect, &catalogue::PresetRow::aspect},
};

int usage(const std::string& problem) {
    std::fprintf(stderr,
                 "talwynwav-cli: %s\n"
                 "Usage: talwynwav-cli convert --profile CODE [--preset NAME=TEXT]... [--jobs N]\n"
                 "                             [--overwrite] [--keep-structure [--root DIR]]\n"
                 "                             [--from-list FILE|- [--null]] [--shard K/N]\n"
                 "                             [--skip-existing] [--report FILE] [--verbose]\n"
                 "                             -o DIR [FILE|FOLDER]...\n"
                 "NAME is one of frame_size, video_bitrate, frame_rate, audio_bitrate,\n"
                 "sample_rate, aspect; TEXT is an entry of that list (see profiles --json).\n"
                 "A FOLDER gives the files of its whole tree, hidden ones left out; with\n"
                 "--keep-structure each output goes to the input's subfolder under DIR\n"
                 "(relative to --root DIR when given). --from-list reads paths one a line\n"
                 "(NUL-separated with --null; - is standard input). --shard K/N (0 <= K < N)\n"
                 "keeps the inputs of shard K of N. --skip-existing leaves out inputs whose\n"
                 "complete output exists. --report appends a JSON line per input.\n",
                 problem.c_str());
    return 2;
}

struct Options {
    int profile = -1;
    std::map<std::string, std::string> presets;
    int jobs = 1;
    bool overwrite = false;
    bool keepStructure = false;
    bool verbose = false;
    bool skipExisting = false;
    std::string folder;
    std::vector<std::string> files;
    std::string listFile;
    bool nulSeparated = false;
    std::optional<Shard> shard;
    std::string shardText;
    std::string reportFile;
    std::string root;
};

// The command line's bytes as text for QCommandLineParser and back: one Latin-1 character a
// byte, so file names (and UTF-8 preset texts) come out exactly as they went in.
QString asText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string asBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

std::optional<std::string> parse(const std::vector<std::string>& args, Options& options) {
    QStringList arguments{QStringLiteral("convert")};
    for (const std::string& arg : args) {
        arguments << asText(arg);
    }
    const QCommandLineOption profile(QStringLiteral("profile"), {}, QStringLiteral("CODE"));
    const QCommandLineOption preset(QStringLiteral("preset"), {}, QStringLiteral("NAME=TEXT"));
    const QCommandLineOption jobs(QStringLiteral("jobs"), {}, QStringLiteral("N"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("DIR"));
    const QCommandLineOption list(QStringLiteral("from-list"), {}, QStringLiteral("FILE"));
    const QCommandLineOption report(QStringLiteral("report"), {}, QStringLiteral("FILE"));
    const QCommandLineOption root(QStringLiteral("root"), {}, QStringLiteral("DIR"));
    const QCommandLineOption shard(QStringLiteral("shard"), {}, QStringLiteral("K/N"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"));
    const QCommandLineOption keepStructure(QStringLiteral("keep-structure"));
    const QCommandLineOption skipExisting(QStringLiteral("skip-existing"));
    const QCommandLineOption nul(QStringLiteral("null"));
    const QCommandLineOption verbose(QStringLiteral("verbose"));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({profile, preset, jobs, output, list, report, root, shard, overwrite,
                       keepStructure, skipExisting, nul, verbose});
    if (!parser.parse(arguments)) {
        return asBytes(parser.errorText());
    }
    if (parser.isSet(profile)) {
        const std::string text = asBytes(parser.value(profile));
        char* end = nullptr;
        options.profile = int(std::strtol(text.c_str(), &end, 10));
        if (text.empty() || *end || !catalogue::findProfile(options.profile)) {
            return "unknown profile code \"" + text + "\" (see talwynwav-cli profiles)";
        }
    }
    for (const QString& value : parser.values(preset)) {
        const std::string text = asBytes(value);
        const size_t equals = text.find('=');
        if (equals == std::string::npos) {
            return "--preset needs NAME=TEXT";
        }
        options.presets[text.substr(0, equals)] = text.substr(equals + 1);
    }
    if (parser.isSet(jobs)) {
        options.jobs = std::atoi(asBytes(parser.value(jobs)).c_str());
        if (options.jobs < 1 || options.jobs > 64) {
            return "--jobs needs a number from 1 to 64";
        }
    }
    if (parser.isSet(shard)) {
        options.shardText = asBytes(parser.value(shard));
        options.shard = parseShard(options.shardText);
        if (!options.shard) {
            return "--shard needs K/N with 0 <= K < N, e.g. --shard 0/4";
        }
    }
    options.folder = asBytes(parser.value(output));
    options.listFile = asBytes(parser.value(list));
    options.reportFile = asBytes(parser.value(report));
    options.root = asBytes(parser.value(root));
    options.overwrite = parser.isSet(overwrite);
    options.keepStructure = parser.isSet(keepStructure);
    options.skipExisting = parser.isSet(skipExisting);
    options.nulSeparated = parser.isSet(nul);
    options.verbose = parser.isSet(verbose);
    for (const QString& file : parser.positionalArguments()) {
        options.files.push_back(asBytes(file));
    }
    if (options.profile < 0) {
        return "--profile is missing";
    }
    if (options.folder.empty()) {
        return "-o DIR is missing";
    }
    if (options.files.empty() && options.listFile.empty()) {
        return "no input files";
    }
    if (!options.root.empty() && !options.keepStructure) {
        return "--root goes with --keep-structure";
    }
    return std::nullopt;
}

// The six preset texts: the profile's preselections, replaced by what was asked for.
std::optional<std::string> presetTexts(const Options& options, conversion::PresetTexts& texts) {
    const catalogue::PresetRow& row = catalogue::findProfile(options.profile)->presets;
    texts = conversion::DefaultPresetTexts(options.profile);
    for (const auto& [name, text] : options.presets) {
        const auto* option = std::find_if(std::begin(kPresetOptions), std::end(kPresetOptions),
                                          [&](const PresetOption& o) { return name == o.name; });
        if (option == std::end(kPresetOptions)) {
            return "unknown preset \"" + name + "\"";
        }
        const auto& entries = (row.*(option->cell)).list->entries;
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const char* e) { return text == e; })) {
            std::string offered;
            for (const char* entry : entries) {
                offered += std::string(offered.empty() ? "" : ", ") + "\"" + entry + "\"";
            }
            return "profile " + std::to_string(options.profile) + " offers no " + name + " \"" +
                   text + "\"; it offers " + offered;
        }
        texts[size_t(option->kind)] = QString::fromStdString(text);
    }
    return std::nullopt;
}

double seconds(int64_t microseconds) {
    return microseconds >= 0 ? microseconds / 1e6 : -1;
}

int64_t sizeOf(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : int64_t(size);
}

}  // namespace

int runConvert(const std::vector<std::string>& args) {
    Options options;
    if (const auto problem = parse(args, options)) {
        return usage(*problem);
    }
    conversion::PresetTexts presets;
    if (const auto problem = presetTexts(options, presets)) {
        return usage(*problem);
    }
    // Names are bytes: a file's name need not be UTF-8 to be converted.
    std::error_code folderError;
    const fs::path folder = fs::absolute(options.folder, folderError).lexically_normal();
    if (folderError || (fs::create_directories(folder, folderError), folderError)) {
        std::fprintf(stderr, "talwynwav-cli: cannot create the output folder %s: %s\n",
                     folder.c_str(), folderError.message().c_str());
        return 1;
    }

    // Signals are taken by one thread of their own, so the workers never see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ProgressPrinter printer(stdout);
    media::Logger::setReceiver(
        [&printer](uint32_t, int, const std::string& text) { printer.message("  " + text); },
        options.verbose ? 4 : 3);
    media::Converter converter;
    if (!converter.LoadAVLib(conversion::CatalogueEncoders())) {
        std::fprintf(stderr, "talwynwav-cli: %s\n", converter.LastErrMsg().c_str());
        return 1;
    }

    // Every file gets the same record. A chosen entry the engine cannot use as it stands is said
    // before the start (the profile's own preselections need no word).
    const conversion::JobRecord record =
        conversion::MakeJobRecord(*conversion::ChoiceWithTexts(options.profile, presets));
    const conversion::PresetTexts defaults = conversion::DefaultPresetTexts(options.profile);
    for (size_t kind = 0; kind < record.presets.size(); ++kind) {
        const conversion::PresetOutcome& preset = record.presets[kind];
        if (preset.replaced() && preset.entry != defaults[kind]) {
            printer.message("注意  \"" + preset.entry.toStdString() + "\" 无法照用，实际使用 " +
                            preset.effective.toStdString());
        }
    }
    media::TOutputOptions taskOptions = conversion::TaskOptions(record);
    taskOptions.Overwrite = options.overwrite;
    RunReport report;
    if (!options.reportFile.empty()) {
        std::string error;
        if (!report.open(options.reportFile, options.shardText, error)) {
            std::fprintf(stderr, "talwynwav-cli: %s\n", error.c_str());
            return 1;
        }
    }
    const auto started = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    int failures = 0, skipped = 0;
    // What the report says of each task when it ends.
    struct TaskNote {
        std::string name;
        int64_t inputDuration = 0;
        double began = -1;
    };
    std::map<int, TaskNote> notes;

    WorkSources sources;
    sources.arguments = options.files;
    sources.listFile = options.listFile;
    sources.nulSeparated = options.nulSeparated;
    sources.keepStructure = options.keepStructure;
    sources.root = options.root;
    sources.shard = options.shard.value_or(Shard{});
    const std::vector<WorkItem> work = collectWork(sources, failures);
    // Each output is named after its input; the name really used is taken when the task starts
    // (free in the folder, of no other file or run, never an input).
    for (const WorkItem& item : work) {
        RunReport::Entry entry;
        entry.input = item.name;
        const auto refuse = [&](const std::string& reason, bool counts) {
            if (counts) {
                printer.message("跳过  " + item.name + ": " + reason);
                ++failures;
            } else {
                // Covers, notes and playlists lie beside the music; leaving them out is no
                // failure.
                std::fprintf(stderr, "跳过  %s: %s\n", item.name.c_str(), reason.c_str());
            }
            entry.status = "refused";
            entry.error = reason;
            entry.seconds = 0;
            report.write(entry);
        };
        if (!item.problem.empty()) {
            refuse(item.problem, true);
            continue;
        }
        const fs::path path = fs::absolute(item.name, folderError);
        fs::path output = folder / item.subfolder / path.filename();
        output.replace_extension(record.extension.toStdString());
        const int task = converter.AddTask(path.string());
        if (task < 0) {
            // A file found in a folder that is no media is left out; one that cannot be read is
            // a file the user wanted and did not get.
            const bool unreadable = ::access(path.c_str(), R_OK) != 0;
            refuse(converter.LastErrMsg(), !item.found || unreadable);
            continue;
        }
        const int64_t inputDuration = converter.TaskStreamInfo(task).Duration;
        entry.inputDuration = seconds(inputDuration);
        if (options.skipExisting) {
            if (const std::string done = completeOutputOf(output.string(), inputDuration);
                !done.empty()) {
                converter.RemoveTask(task);
                printer.message("已有  " + item.name + " -> " + done);
                entry.status = "skipped";
                entry.output = done;
                entry.outputDuration = seconds(measuredDuration(done));
                entry.bytes = sizeOf(done);
                report.write(entry);
                ++skipped;
                continue;
            }
        }
        std::error_code error;
        if (fs::create_directories(output.parent_path(), error); error) {
            converter.RemoveTask(task);
            refuse("无法建立输出文件夹 " + output.parent_path().string() + ": " + error.message(),
                   true);
            continue;
        }
        if (!converter.SetOutputFile(task, output.string(), taskOptions)) {
            const std::string reason = converter.LastErrMsg();
            converter.RemoveTask(task);
            refuse(reason, true);
            continue;
        }
        printer.setName(task, item.name, inputDuration);
        notes[task] = {item.name, inputDuration, -1};
    }
    if (converter.TaskCount() == 0) {
        if (failures == 0 && (skipped > 0 || options.shard)) {
            printer.message(skipped > 0 ? "没有需要转换的文件: 输出都已存在"
                                        : "本分片没有需要转换的文件");
            return 0;
        }
        std::fprintf(stderr, "talwynwav-cli: 没有可以转换的文件\n");
        return 1;
    }

    // The batch runs on this thread's event loop, as in the window; the signal thread only asks
    // it to stop.
    int argc = 1;
    char name[] = "talwynwav-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    conversion::Batch batch(converter);
    media::Logger::setReceiver(
        [&printer](uint32_t, int, const std::string& text) { printer.message("  " + text); },
        options.verbose ? 4 : 3);
    QObject::connect(&batch, &conversion::Batch::progress,
                     [&](quint64 job, const media::TProgressInfo& info) {
                         TaskNote& note = notes[int(job) - 1];
                         if (note.began < 0) {
                             note.began = elapsed();
                         }
                         printer.progress(info);
                     });
    QObject::connect(&batch, &conversion::Batch::taskEnded, [&](const conversion::TaskEnd& end) {
        const int task = int(end.job) - 1;
        using Result = conversion::TaskEnd::Result;
        const TaskNote& note = notes[task];
        RunReport::Entry entry;
        entry.input = note.name;
        entry.inputDuration = seconds(note.inputDuration);
        entry.status = end.result == Result::Converted ? "converted" : "failed";
        entry.error = end.result == Result::Stopped ? "已停止" : end.message.toStdString();
        if (end.result == Result::Converted || end.result == Result::Incomplete) {
            entry.output = end.outputFile.toStdString();
            entry.outputDuration = seconds(end.converted);
            entry.bytes = sizeOf(entry.output);
        }
        entry.seconds = note.began >= 0 ? elapsed() - note.began : 0;
        report.write(entry);
        switch (end.result) {
            case Result::Converted:
                printer.finished(task, end.outputFile.toStdString());
                return;
            case Result::Incomplete:
                printer.incomplete(task, end.outputFile.toStdString(),
                                   end.message.toStdString() + " (" +
                                       joblist::SecToDate(end.converted / 1000000).toStdString() +
                                       " / " +
                                       joblist::SecToDate(end.total / 1000000).toStdString() + ")");
                break;
            case Result::Failed:
                printer.failed(task, end.message.toStdString());
                break;
            case Result::Stopped:
                printer.failed(task, "已停止");
                break;
        }
        ++failures;
    });
    QObject::connect(&batch, &conversion::Batch::ended, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    int caught = 0;
    std::thread signalWaiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        if (signal != SIGUSR1) {
            caught = signal;
            QMetaObject::invokeMethod(
                &batch, [&batch] { batch.stop(); }, Qt::QueuedConnection);
        }
    });
    std::vector<quint64> jobs;
    for (int task = 0; task < converter.TaskCount(); ++task) {
        jobs.push_back(quint64(task) + 1);
    }
    if (batch.start(jobs, options.jobs) || batch.state() != conversion::BatchState::Finished) {
        application.exec();
    }
    pthread_kill(signalWaiter.native_handle(), SIGUSR1);
    signalWaiter.join();
    batch.detach();
    converter.Stop(true);
    media::Logger::setReceiver({});
    if (caught) {
        return 128 + caught;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace talwyn::cli
