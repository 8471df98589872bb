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
    const QFont base = font();
    QFont small = base;
    for (double scale = 1.0; scale > 0.74; scale -= 0.05) {
        if (base.pointSizeF() > 0) {
            small.setPointSizeF(base.pointSizeF() * scale);
        } else {
            small.setPixelSize(std::max(1, int(base.pixelSize() * scale)));
        }
        if (QFontMetrics(small).horizontalAdvance(text) <= field.width()) {
            break;
        }
    }
    if (QFontMetrics(small).horizontalAdvance(text) > field.width()) {
        text = QStringLiteral("→") + effective_;
        small = base;
    }
    painter.setFont(small);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(field.adjusted(2, 0, 0, 0), int(Qt::AlignLeft | Qt::AlignVCenter), text);
}

}  // namespace talwyn::app
