#pragma once

#include "support/MediaMaker.h"

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// Runs talwynwav-cli (TALWYN_CLI_PATH) as a process of its own.

namespace talwyn::test {

struct Outcome {
    int status;
    QString output;  // standard output and error, merged
};

inline QProcess* startCli(const QStringList& arguments) {
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QStringLiteral(TALWYN_CLI_PATH), arguments);
    return process;
}

inline Outcome runCli(const QStringList& arguments) {
    std::unique_ptr<QProcess> process(startCli(arguments));
    process->waitForFinished(120000);
    return {process->exitCode(), QString::fromUtf8(process->readAll())};
}

// A conversion of a 20-s 640x480 clip (made in folder as long.avi) to H.264 in folder/out, caught
// while it writes its hidden file; null when it did not get that far.
inline std::unique_ptr<QProcess> startLongConversion(const QString& folder) {
    const QString input = folder + QStringLiteral("/long.avi");
    MediaSpec spec;
    spec.seconds = 20;
    spec.width = 640;
    spec.height = 480;
    if (!makeMedia(input.toStdString(), spec).empty()) {
        return nullptr;
    }
    const QString out = folder + QStringLiteral("/out");
    std::unique_ptr<QProcess> process(startCli({"convert", "--profile", "2601", "-o", out, input}));
    for (int i = 0; i < 200 && QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty(); ++i) {
        process->waitForFinished(50);
    }
    if (process->state() != QProcess::Running) {
        return nullptr;
    }
    return process;
}

}  // namespace talwyn::test
