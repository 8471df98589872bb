#pragma once

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

}  // namespace talwyn::test
