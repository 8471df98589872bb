// The main window among the desktop's other windows: its size on the screen, and the files a
// later start of the program hands to it.

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/SkippedFiles.h"
#include "app/WindowFit.h"

#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

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

void MainWindow::fitToScreen(const QRect& available) {
    const QSize natural(MainWindowUi::kWidth, MainWindowUi::kHeight);
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QMargins known(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
    const WindowFit fit = WindowFit::onScreen(
        natural, isVisible() && frame != inner ? known : WindowFit::kAssumedFrame, available,
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    if (fit.fixed) {
        setFixedSize(natural);
    } else {
        makeScrollable();
        setMinimumSize(WindowFit::kSmallest.boundedTo(fit.size));
        setMaximumSize(fit.largest);
        resize(fit.size);
    }
    move(fit.position);
}

void MainWindow::makeScrollable() {
    if (scroller_) {
        return;
    }
    // The menu bar stays in reach; the rest keeps its places, one menu bar higher.
    const int top = ui_.menuBar->height();
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Form1Content"));
    content->setFixedSize(MainWindowUi::kWidth, MainWindowUi::kHeight - top);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || child == ui_.menuBar) {
            continue;
        }
        const bool shown = child->isVisibleTo(this);
        const QPoint place = child->pos() - QPoint(0, top);
        child->setParent(content);
        child->move(place);
        child->setVisible(shown);
    }
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Form1Scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ui_.menuBar);
    layout->addWidget(scroller_);
}

}  // namespace talwyn::app
