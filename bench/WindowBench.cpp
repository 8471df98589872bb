// Measures the window program's own work, without dialogs: adding a folder of short WAV files,
// and how long the GUI thread is ever kept from its event loop while a two-task batch of video
// files runs. Usage: talwyn-window-bench WAV_FOLDER VIDEO_FILE...

#include "app/MainWindow.h"
#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fputs("usage: talwyn-window-bench WAV_FOLDER VIDEO_FILE...\n", stderr);
        return 2;
    }
    QTemporaryDir config;
    QTemporaryDir out;
    {
        QFile ini(config.filePath("option.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[OutPath]\nOutPath=" + out.path().toUtf8() +
                  "\n[Options]\nAfter_Done=3\nThread_Count=2\n");
    }
    talwyn::test::FakeDialogs dialogs;
    talwyn::test::FakeDesktop desktop;
    talwyn::app::MainWindow window({dialogs, desktop, config.filePath("option.ini")});
    window.show();

    QElapsedTimer clock;
    clock.start();
    window.addFolder(QString::fromLocal8Bit(argv[1]));
    std::printf("adding the folder: %d rows in %.3f s\n", window.jobs().rowCount(),
                clock.nsecsElapsed() / 1e9);

    window.btnClearClick();
    QStringList videos;
    for (int i = 2; i < argc; ++i) {
        videos << QString::fromLocal8Bit(argv[i]);
    }
    window.selectCategory(14);  // H.264
    window.addFiles(videos, false);

    qint64 largestGap = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        largestGap = std::max(largestGap, sinceTick.restart());
        if (!window.batchRunning()) {
            application.quit();
        }
    });
    clock.restart();
    window.btnStartClick();
    sinceTick.start();
    ticker.start(10);
    application.exec();
    std::printf("two-task batch of %d videos: %.1f s, largest gap between 10 ms ticks: %lld ms\n",
                int(videos.size()), clock.nsecsElapsed() / 1e9, static_cast<long long>(largestGap));
    return 0;
}
