#pragma once

#include "app/MainWindow.h"
#include "joblist/JobColumns.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace talwyn::test {

// A window whose output folder and options come from the test, with a folder for its inputs.
struct WindowFlow : WindowFixture {
    QTemporaryDir out;
    QTemporaryDir in;

    app::MainWindow& startWith(const QByteArray& options = "After_Done=3\nThread_Count=1\n") {
        writeIni("[OutPath]\nOutPath=" + out.path().toUtf8() + "\n[Options]\n" + options);
        return start();
    }
    QString copy(const QString& from, const QString& name) {
        const QString path = in.filePath(name);
        QFile::copy(from, path);
        return path;
    }
    QStringList outputs() const {
        return QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

inline QStringList column(app::MainWindow& window, joblist::JobColumn c) {
    QStringList texts;
    for (int i = 0; i < window.jobs().rowCount(); ++i) {
        texts << window.jobs().text(i, c);
    }
    return texts;
}

// The rows' input files by name, top to bottom.
inline QStringList inputNames(app::MainWindow& window) {
    QStringList texts;
    for (const QString& path : column(window, joblist::InputFile)) {
        texts << QFileInfo(path).fileName();
    }
    return texts;
}

inline bool waitForBatchEnd(app::MainWindow& window, int seconds = 120) {
    for (int i = 0; i < seconds * 20 && window.batchRunning(); ++i) {
        QTest::qWait(50);
    }
    return !window.batchRunning();
}

}  // namespace talwyn::test
