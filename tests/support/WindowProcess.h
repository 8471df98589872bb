#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include <unistd.h>

// Runs the window program (TALWYN_WINDOW_PATH) as processes of its own, headless, each test with
// its own $HOME, option.ini folder, runtime folder (where the one-window socket lives) and output
// folder. The windows write the input paths of their rows to rowsFile after every add of the
// files of a command line (TALWYN_TEST_ROWS_FILE).

namespace talwyn::test {

struct WindowProcess {
    QTemporaryDir home;
    QTemporaryDir config;
    QTemporaryDir runtime;
    QTemporaryDir out;
    QString rowsFile = home.filePath(QStringLiteral("rows.txt"));

    explicit WindowProcess(const QByteArray& options = "After_Done=3\nThread_Count=1\n") {
        QFile ini(config.filePath(QStringLiteral("option.ini")));
        if (ini.open(QIODevice::WriteOnly)) {
            ini.write("[OutPath]\nOutPath=" + out.path().toUtf8() + "\n[Options]\n" + options);
        }
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).startsWith("offscreen")) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("TALWYN_CONFIG_DIR"), config.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("TALWYN_TEST_ROWS_FILE"), rowsFile);
        return environment;
    }

    // The socket path the program takes with this runtime folder.
    QString socketPath() const {
        return runtime.filePath(QStringLiteral("talwynwav-%1").arg(::getuid()));
    }

    std::unique_ptr<QProcess> start(const QStringList& arguments,
                                    const QProcessEnvironment& environment,
                                    const QString& folder = {}) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        if (!folder.isEmpty()) {
            process->setWorkingDirectory(folder);
        }
        process->start(QStringLiteral(TALWYN_WINDOW_PATH), arguments);
        process->waitForStarted();
        return process;
    }
    std::unique_ptr<QProcess> start(const QStringList& arguments = {},
                                    const QString& folder = {}) const {
        return start(arguments, environment(), folder);
    }

    bool rowsWritten() const { return QFile::exists(rowsFile); }
    // What the window last wrote.
    QStringList rows() const {
        QFile file(rowsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList outputs() const {
        return QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
};

}  // namespace talwyn::test
