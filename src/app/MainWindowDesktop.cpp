// The main window among the desktop's other windows: the files a later start of the program
// hands to it.

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/SkippedFiles.h"

#include <QToolButton>

namespace talwyn::app {

void MainWindow::addFromAnotherStart(const QStringList& arguments) {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (arguments.isEmpty()) {
        return;
    }
    if (ui_.addButton->isEnabled()) {
        addCommandLine(arguments);
        return;
    }
    // The list takes files only when the user could add them; a box that waits for nobody, so
    // the batch goes on.
    SkippedFiles refused;
    const QString why = batchRunning() ? QStringLiteral("正在转换，请在转换结束后再添加")
                                       : QStringLiteral("请先清空已经转换的列表再添加");
    for (const QString& argument : arguments) {
        refused.add(argument, why);
    }
    dialogs_.notice(this, refused.message());
}

}  // namespace talwyn::app
