#pragma once

#include <QStyledItemDelegate>

namespace talwyn::app {

// Draws an entry of an office-style list: the icon on the left, a bold title line and a caption
// line beside it (or the caption alone when there is no title), and a separator line below.
class OfficeItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int CaptionRole = Qt::UserRole + 1;

    OfficeItemDelegate(int rowHeight, bool separators, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The icon, title and caption of an entry inside rect; shared with the closed combo box.
    static void paintEntry(QPainter* painter, const QRect& rect, const QModelIndex& index,
                           const QPalette& palette, bool selected, bool enabled);

  private:
    int rowHeight_;
    bool separators_;
};

}  // namespace talwyn::app
