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
    return locked_ ? effective_ : currentText() + QStringLiteral("→") + effective_;
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
    // Both values in a smaller type if need be; when even that does not fit, the value really
    // used stays and the entry gives way (the tool tip names both).
    QString text = shownText();
    QFont font = painter.font();
    while (QFontMetrics(font).horizontalAdvance(text) > field.width() && font.pointSizeF() > 7.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    if (QFontMetrics(font).horizontalAdvance(text) > field.width()) {
        text = QStringLiteral("→ ") + effective_;
        font = painter.font();
    }
    painter.setFont(font);
    option.currentText = text;
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace talwyn::app
