#include "app/OfficeComboBox.h"

#include "app/OfficeItemDelegate.h"

#include <QAbstractItemView>
#include <QStylePainter>

namespace talwyn::app {

OfficeComboBox::OfficeComboBox(int rowHeight, int visibleRows, bool separators, QWidget* parent)
    : QComboBox(parent) {
    setItemDelegate(new OfficeItemDelegate(rowHeight, separators, this));
    setMaxVisibleItems(visibleRows);
    setIconSize(QSize(32, 32));
}

void OfficeComboBox::addEntry(const QIcon& icon, const QString& title, const QString& caption) {
    addItem(icon, title);
    setItemData(count() - 1, caption, OfficeItemDelegate::CaptionRole);
}

void OfficeComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) {
        return;
    }
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    OfficeItemDelegate::paintEntry(&painter, field, model()->index(currentIndex(), 0), palette(),
                                   false, isEnabled());
}

}  // namespace talwyn::app
