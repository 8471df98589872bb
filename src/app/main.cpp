#include "app/MainWindow.h"
#include "app/ProductInfo.h"
#include "app/QtDialogs.h"
#include "app/QtTranslations.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/SystemDesktop.h"
#include "app/TestHooks.h"
#include "settings/ConfigLocation.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    talwyn::app::InstallQtTranslations(application);
    // No display name: Qt would append it to every other window's caption.
    QApplication::setApplicationName(QStringLiteral("talwynwav"));
    QApplication::setDesktopFileName(QStringLiteral("talwynwav"));

    using talwyn::app::MainWindow;
    using talwyn::app::QuitSignals;
    using talwyn::app::SingleInstance;
    // The desktop entry passes %F: the files and folders dropped on the program's icon.
    const QStringList arguments = QApplication::arguments().mid(1);
    // One window per user: a later start hands its files to the window already open.
    SingleInstance instance(SingleInstance::defaultName());
    switch (instance.start(arguments)) {
        case SingleInstance::Role::HandedOver:
            return 0;
        case SingleInstance::Role::Unanswered:
            std::fprintf(stderr, "talwynwav: 已经打开的窗口没有回应，文件未能交给它（%s）\n",
                         qPrintable(instance.problem()));
            return 1;
        case SingleInstance::Role::Alone:
            std::fprintf(stderr, "talwynwav: 本窗口不接收以后启动时的文件（%s）\n",
                         qPrintable(instance.problem()));
            break;
        case SingleInstance::Role::First:
            break;
    }
    QuitSignals quitSignals;

    talwyn::app::QtDialogs dialogs;
    talwyn::app::SystemDesktop desktop;
    MainWindow window({dialogs, desktop, talwyn::settings::ConfigLocation::optionIniPath()});
    // A logout, a Ctrl-C or a kill closes the window as "退出" does: the batch stops and leaves
    // no hidden files.
    int signalStatus = 0;
    QObject::connect(&quitSignals, &QuitSignals::caught, &window,
                     [&window, &signalStatus](int signal) {
                         signalStatus = 128 + signal;
                         window.close();
                         QApplication::exit(signalStatus);
                     });
    talwyn::app::TestHooks hooks(window);
    QObject::connect(&instance, &SingleInstance::logLine, &window, &MainWindow::appendLog);
    QObject::connect(
        &instance, &SingleInstance::received, &window,
        [&window, &hooks](const QStringList& files) {
            window.addFromAnotherStart(files);
            hooks.writeRows();
        },
        Qt::QueuedConnection);
    window.show();
    hooks.selectProfile();
    window.addCommandLine(arguments);
    hooks.writeRows();
    hooks.startConverting();
    // A signal taken while a box was open before the loop ran has closed the window already.
    if (signalStatus != 0) {
        return signalStatus;
    }
    const int status = QApplication::exec();
    return signalStatus != 0 ? signalStatus : status;
}
