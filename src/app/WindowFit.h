#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace talwyn::app {

// Where a window of a fixed natural size goes on a screen, and how large it is. It keeps its
// natural size, centred, whenever that fits the screen's free area together with the frame; on a
// smaller screen (a large scale factor on a low screen) it takes what room there is, to be
// scrolled, rather than hang over the screen's edge.
struct WindowFit {
    // Below this a window is of no use; it then hangs over the edge after all.
    static constexpr QSize kSmallest{400, 300};
    // The frame a window manager adds, as long as it has not told us.
    static constexpr QMargins kAssumedFrame{2, 32, 2, 2};

    QSize size;       // the window's own size, without the frame
    QSize largest;    // what the user may enlarge it to: no more than its contents need
    QPoint position;  // the top left of its frame
    bool fixed = true;

    // available: the screen's area less panels and docks, in the window's (logical) pixels;
    // scrollBar: the width of the scroll bar that a window too low (or too narrow) gains.
    static WindowFit onScreen(QSize natural, QMargins frame, QRect available, int scrollBar = 0);
};

}  // namespace talwyn::app
