#include "app/MainWindow.h"
#include "app/ProductInfo.h"
#include "app/QtDialogs.h"
#include "app/SystemDesktop.h"
#include "settings/ConfigLocation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talwynwav"));
    QApplication::setApplicationDisplayName(talwyn::app::kProductName);
    QApplication::setDesktopFileName(QStringLiteral("talwynwav"));

    talwyn::app::QtDialogs dialogs;
    talwyn::app::SystemDesktop desktop;
    talwyn::app::MainWindow window(
        {dialogs, desktop, talwyn::settings::ConfigLocation::optionIniPath()});
    window.show();
    // The desktop entry passes %F: the files and folders dropped on the program's icon.
    window.addCommandLine(QApplication::arguments().mid(1));
    return QApplication::exec();
}
