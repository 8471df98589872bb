#include "app/FittedTextDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace talwyn::app {
namespace {

// Narrower than this, digits become hard to tell apart.
constexpr int kNarrowestStretch = 70;

QStyle* cellStyle(const QStyleOptionViewItem& cell) {
    return cell.widget ? cell.widget->style() : QApplication::style();
}

}  // namespace

QFont FittedTextDelegate::fittingFont(const QStyleOptionViewItem& cell) {
    // The room the style leaves for the text: its margin on either side of the cell.
    const int margin =
        cellStyle(cell)->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, cell.widget) + 1;
    const int room = cell.rect.width() - 2 * margin;
    QFont font = cell.font;
    if (QFontMetrics(font).horizontalAdvance(cell.text) <= room) {
        return font;
    }
    for (int stretch = 98; stretch > kNarrowestStretch; stretch -= 2) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(cell.text) <= room) {
            return font;
        }
    }
    font.setStretch(kNarrowestStretch);
    return font;
}

void FittedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.font = fittingFont(cell);
    cell.fontMetrics = QFontMetrics(cell.font);
    cellStyle(cell)->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
}

}  // namespace talwyn::app
