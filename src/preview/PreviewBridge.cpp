#include "preview/PreviewBridge.h"

#include <QMetaObject>

namespace talwyn::preview {

PreviewBridge::PreviewBridge(media::Player& player, QObject* parent)
    : QObject(parent), player_(player) {
    const auto post = [this](auto deliver) {
        QMetaObject::invokeMethod(
            this,
            [this, deliver] {
                if (attached_) {
                    deliver();
                }
            },
            Qt::QueuedConnection);
    };
    player_.setEvents({
        [this, post](int64_t duration, int width, int height) {
            post([this, duration, width, height] { emit fileOpened(duration, width, height); });
        },
        [this, post](int64_t pts) { post([this, pts] { emit position(pts); }); },
        [this, post](media::TPlayState s) { post([this, s] { emit state(int(s)); }); },
        [this, post] { post([this] { emit picture(); }); },
        [this, post](const std::string& text) {
            const QString line = QString::fromStdString(text);
            post([this, line] { emit logLine(line); });
        },
    });
}

PreviewBridge::~PreviewBridge() {
    detach();
}

void PreviewBridge::detach() {
    if (attached_) {
        attached_ = false;
        player_.setEvents({});
    }
}

}  // namespace talwyn::preview
