#include "app/MainWindow.h"
#include "app/ProductInfo.h"
#include "app/QtDialogs.h"
#include "app/QuitSignals.h"
#include "app/SystemDesktop.h"
#include "app/TestHooks.h"
#include "settings/ConfigLocation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talwynwav"));
    QApplication::setApplicationDisplayName(talwyn::app::kProductName);
    QApplication::setDesktopFileName(QStringLiteral("talwynwav"));

    using talwyn::app::MainWindow;
    using talwyn::app::QuitSignals;
    // The desktop entry passes %F: the files and folders dropped on the program's icon.
    const QStringList arguments = QApplication::arguments().mid(1);
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
