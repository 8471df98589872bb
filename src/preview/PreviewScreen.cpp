#include "preview/PreviewScreen.h"

#include <QPainter>

namespace talwyn::preview {

PreviewScreen::PreviewScreen(QWidget* parent) : QFrame(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewScreen::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PreviewScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(8, 8, 8));
    if (!picture_.isNull()) {
        painter.drawImage(
            QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2), picture_);
    }
}

}  // namespace talwyn::preview
