#include "app/TrackClickFilter.h"

#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace talwyn::app {

TrackClickFilter::TrackClickFilter(QSlider* slider, std::function<void(int value)> jump)
    : QObject(slider), slider_(slider), jump_(std::move(jump)) {
    slider->installEventFilter(this);
}

bool TrackClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != slider_ || event->type() != QEvent::MouseButtonPress || !slider_->isEnabled()) {
        return false;
    }
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::LeftButton) {
        return false;
    }
    QStyleOptionSlider option;
    option.initFrom(slider_);
    option.orientation = slider_->orientation();
    option.minimum = slider_->minimum();
    option.maximum = slider_->maximum();
    option.sliderPosition = slider_->sliderPosition();
    option.sliderValue = slider_->value();
    const QRect handle = slider_->style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderHandle, slider_);
    const QPoint at = press->position().toPoint();
    if (handle.contains(at)) {
        return false;  // the handle itself is dragged as usual
    }
    const int span = std::max(1, slider_->width() - handle.width());
    const int value = QStyle::sliderValueFromPosition(slider_->minimum(), slider_->maximum(),
                                                      at.x() - handle.width() / 2, span);
    jump_(value);
    return true;
}

}  // namespace talwyn::app
