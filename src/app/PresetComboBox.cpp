#include "app/PresetComboBox.h"

#include <QStylePainter>

namespace talwyn::app {

void PresetComboBox::setEffective(const QString& value, bool locked) {
    effective_ = value;
    locked_ = locked && !value.isEmpty();
    if (effective_.isEmpty()) {
        setToolTip({});
    } else if (locked_) {
        setToolTip(QStringLiteral("该格式固定使用 %1").arg(effective_));
    } else {
        setToolTip(
            QStringLiteral("该格式无法使用“%1”，实际使用 %2").arg(currentText(), effective_));
    }
    update();
}

QString PresetComboBox::shownText() const {
    if (effective_.isEmpty()) {
        return currentText();
    }
    return locked_ ? effective_ : currentText() + QStringLiteral(" → ") + effective_;
}

void PresetComboBox::paintEvent(QPaintEvent* event) {
    if (effective_.isEmpty()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The value really used must stay readable: the entry gives way first.
    QString text = shownText();
    if (fontMetrics().horizontalAdvance(text) > field.width()) {
        text = QStringLiteral("→ ") + effective_;
    }
    option.currentText = text;
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace talwyn::app
