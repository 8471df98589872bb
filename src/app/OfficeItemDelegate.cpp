#include "app/OfficeItemDelegate.h"

#include <QPainter>

namespace talwyn::app {

OfficeItemDelegate::OfficeItemDelegate(int rowHeight, bool separators, QObject* parent)
    : QStyledItemDelegate(parent), rowHeight_(rowHeight), separators_(separators) {}

void OfficeItemDelegate::paintEntry(QPainter* painter, const QRect& rect, const QModelIndex& index,
                                    const QPalette& palette, bool selected, bool enabled) {
    painter->save();
    const QColor text = !enabled   ? palette.color(QPalette::Disabled, QPalette::Text)
                        : selected ? palette.color(QPalette::HighlightedText)
                                   : palette.color(QPalette::Text);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const int iconSize = std::min(32, rect.height() - 4);
    const QRect iconRect(rect.left() + 4, rect.top() + (rect.height() - iconSize) / 2, iconSize,
                         iconSize);
    icon.paint(painter, iconRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);

    const QRect textRect = rect.adjusted(iconSize + 10, 2, -4, -2);
    const QString title = index.data(Qt::DisplayRole).toString();
    const QString caption = index.data(CaptionRole).toString();
    QFont font = painter->font();
    painter->setPen(text);
    if (title.isEmpty()) {
        painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, caption);
    } else {
        QFont bold = font;
        bold.setBold(true);
        painter->setFont(bold);
        const QRect titleRect(textRect.left(), textRect.top(), textRect.width(),
                              textRect.height() / 2);
        painter->drawText(
            titleRect, Qt::AlignBottom | Qt::AlignLeft,
            painter->fontMetrics().elidedText(title, Qt::ElideRight, titleRect.width()));
        painter->setFont(font);
        const QRect captionRect = titleRect.translated(0, titleRect.height());
        painter->drawText(
            captionRect, Qt::AlignTop | Qt::AlignLeft,
            painter->fontMetrics().elidedText(caption, Qt::ElideRight, captionRect.width()));
    }
    painter->restore();
}

void OfficeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(option.rect, option.palette.highlight());
    }
    paintEntry(painter, option.rect, index, option.palette, selected,
               option.state & QStyle::State_Enabled);
    if (separators_) {
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
}

QSize OfficeItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_);
}

}  // namespace talwyn::app
