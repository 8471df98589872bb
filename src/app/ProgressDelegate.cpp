#include "app/ProgressDelegate.h"

#include <QPainter>

namespace talwyn::app {

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QString text = index.data().toString();
    bool number = false;
    const int percent = text.endsWith(QLatin1Char('%')) ? text.chopped(1).toInt(&number) : 0;
    if (number) {
        const QRect bar = option.rect.adjusted(2, 3, -2, -3);
        painter->save();
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(120, 200, 120, 150));
        painter->drawRect(QRect(
            bar.topLeft(), QSize(bar.width() * std::clamp(percent, 0, 100) / 100, bar.height())));
        painter->restore();
    }
    QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace talwyn::app
