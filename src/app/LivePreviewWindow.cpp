#include "app/LivePreviewWindow.h"

#include <QPainter>

namespace talwyn::app {

LivePreviewWindow::LivePreviewWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("LivePreview"));
    setWindowTitle(QStringLiteral("实时预览"));
    resize(320, 240);
}

void LivePreviewWindow::showPicture(const QImage& picture, const QString& caption) {
    picture_ = picture;
    setWindowTitle(QStringLiteral("实时预览 - ") + caption);
    if (!isVisible()) {
        resize(picture.size());
        show();
    }
    update();
}

void LivePreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (picture_.isNull()) {
        return;
    }
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    painter.drawImage(target, picture_);
}

}  // namespace talwyn::app
