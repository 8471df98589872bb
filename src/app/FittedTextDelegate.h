#pragma once

#include <QStyledItemDelegate>

namespace talwyn::app {

// Draws a cell's text narrowed, as far as it needs, to show it whole instead of cut off with "…":
// a column whose texts may be a character longer than it was made for (the sizes of big files).
// Text that fits is drawn as any other cell's.
class FittedTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The font the cell's text is drawn with: the cell's own when the text fits, else the same
    // font narrowed until it does (down to a limit, beyond which the text is elided after all).
    static QFont fittingFont(const QStyleOptionViewItem& cell);
};

}  // namespace talwyn::app
