#pragma once

#include <QStyledItemDelegate>

namespace talwyn::app {

// Draws a bar behind a "NN%" cell, as long as the percentage.
class ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace talwyn::app
