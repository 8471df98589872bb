// The preview pane: how soon the first picture of a file is shown after it is opened, and how
// much of a core playing a clip in the pane takes. Usage: talwyn-preview-bench CLIP

#include "app/MainWindow.h"
#include "media/Player.h"
#include "preview/PreviewScreen.h"
#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: talwyn-preview-bench CLIP\n", stderr);
        return 2;
    }
    QTemporaryDir config;
    talwyn::test::FakeDialogs dialogs;
    talwyn::test::FakeDesktop desktop;
    talwyn::app::MainWindow window({dialogs, desktop, config.filePath("option.ini")});
    window.show();
    const QString clip = QString::fromLocal8Bit(argv[1]);
    window.fields().T_Movie_PLayer_FileName = clip;

    std::vector<double> waits;
    for (int i = 0; i < 10; ++i) {
        window.player().Stop(true);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        window.OpenPreview();
        while (window.ui().screen->picture().isNull() && clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        waits.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(waits.begin(), waits.end());
    std::printf("first picture after opening: median %.1f ms, worst %.1f ms (10 opens)\n",
                waits[waits.size() / 2], waits.back());

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    window.PreviewPlay();
    QTimer::singleShot(10000, &application, &QCoreApplication::quit);
    application.exec();
    const double used = (cpuSeconds() - cpuBefore) / (wall.nsecsElapsed() / 1e9);
    std::printf("playing in the pane: %.2f of a core on average over 10 s (slider at %d of 200)\n",
                used, window.ui().slider->value());
    return 0;
}
