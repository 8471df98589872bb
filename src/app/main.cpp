#include "app/MainWindow.h"
#include "app/ProductInfo.h"
#include "app/QtDialogs.h"
#include "app/SystemDesktop.h"
#include "settings/ConfigLocation.h"

#include <QApplication>
#include <QFileInfo>

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
    // Files named on the command line (the desktop entry passes %F) are added in that order.
    QStringList files;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        files << QFileInfo(argument).absoluteFilePath();
    }
    if (!files.isEmpty()) {
        window.addFiles(files, false);
    }
    return QApplication::exec();
}
