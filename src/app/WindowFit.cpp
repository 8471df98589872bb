#include "app/WindowFit.h"

#include <algorithm>

namespace talwyn::app {

WindowFit WindowFit::onScreen(QSize natural, QMargins frame, QRect available, int scrollBar) {
    const QSize room = available.size().shrunkBy(frame);
    WindowFit fit;
    fit.fixed = natural.width() <= room.width() && natural.height() <= room.height();
    fit.largest = natural;
    if (!fit.fixed) {
        // Room for the scroll bar, so that a window short of height needs no horizontal one.
        if (natural.height() > room.height()) {
            fit.largest.rwidth() += scrollBar;
        }
        if (natural.width() > room.width()) {
            fit.largest.rheight() += scrollBar;
        }
    }
    fit.size = room.boundedTo(fit.largest).expandedTo(kSmallest).boundedTo(fit.largest);
    // Centred; when even that is too large, the title bar stays on the screen.
    const QSize outer = fit.size.grownBy(frame);
    fit.position =
        available.topLeft() + QPoint(std::max(0, (available.width() - outer.width()) / 2),
                                     std::max(0, (available.height() - outer.height()) / 2));
    return fit;
}

}  // namespace talwyn::app
