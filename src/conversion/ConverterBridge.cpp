#include "conversion/ConverterBridge.h"

#include "media/Converter.h"
#include "media/Logger.h"

#include <QMetaObject>
#include <QPointer>

namespace talwyn::conversion {

ConverterBridge::ConverterBridge(media::Converter& converter, QObject* parent)
    : QObject(parent), converter_(converter) {
    qRegisterMetaType<media::TProgressInfo>();
    qRegisterMetaType<media::TTerminateInfo>();
    qRegisterMetaType<media::PreviewPicture>();
    // Each event is posted to this object's thread; a bridge that is gone, or detached by the
    // time the event is handled, drops it.
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
    converter_.setEvents({
        [this, post](const media::TProgressInfo& info) {
            post([this, info] { emit progress(info); });
        },
        [this, post](const media::TTerminateInfo& info) {
            post([this, info] { emit terminated(info); });
        },
        [this, post](const media::PreviewPicture& picture) {
            post([this, picture] { emit previewPicture(picture); });
        },
    });
    media::Logger::setReceiver([this, post](uint32_t thread, int level, const std::string& text) {
        const QString line =
            QStringLiteral("#%1.%2: %3").arg(thread).arg(level).arg(QString::fromStdString(text));
        post([this, line] { emit logLine(line); });
    });
}

ConverterBridge::~ConverterBridge() {
    detach();
}

void ConverterBridge::detach() {
    if (!attached_) {
        return;
    }
    attached_ = false;
    // Both return only when no event is being handed over any more.
    converter_.setEvents({});
    media::Logger::setReceiver({});
}

}  // namespace talwyn::conversion
