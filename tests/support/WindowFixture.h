#pragma once

#include "app/MainWindow.h"
#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace talwyn::test {

// A main window with fake dialogs and desktop, its own option.ini folder and its own $HOME.
struct WindowFixture {
    QTemporaryDir home;
    QTemporaryDir config;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    std::unique_ptr<app::MainWindow> window;
    QString iniPath = config.filePath(QStringLiteral("option.ini"));

    WindowFixture() { qputenv("HOME", home.path().toUtf8()); }

    void writeIni(const QByteArray& text) const {
        QFile file(iniPath);
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }

    QByteArray iniText() const {
        QFile file(iniPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    app::MainWindow& start() {
        window =
            std::make_unique<app::MainWindow>(app::MainWindow::Services{dialogs, desktop, iniPath});
        return *window;
    }
};

}  // namespace talwyn::test
