#include "catalogue/PresetConversion.h"

#include <algorithm>

namespace talwyn::catalogue::PresetConversion {
namespace {

const QString kNoVideo = QStringLiteral("无视频");

// The text before the first "kbps", without blanks around it.
std::optional<QString> kbpsNumber(const QString& text) {
    const int at = text.indexOf(QLatin1String("kbps"));
    if (at < 0) {
        return std::nullopt;
    }
    const QString number = text.left(at).trimmed();
    if (number.isEmpty()) {
        return std::nullopt;
    }
    return number;
}

bool allDigits(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

}  // namespace

QString frameSize(const QString& text) {
    return text == QStringLiteral("保持原分辨率") || text == QStringLiteral("该格式无视频")
               ? QString()
               : text;
}

QString frameRate(const QString& text) {
    return text == QStringLiteral("保持原帧速率") || text == kNoVideo ? QString() : text;
}

std::optional<int32_t> videoBitrate(const QString& text) {
    if (text == kNoVideo) {
        return kNoVideoBitrate;
    }
    const auto number = kbpsNumber(text);
    bool ok = false;
    const int value = number ? number->toInt(&ok) : 0;
    if (!ok || value < 0 || value > 2000000) {
        return std::nullopt;
    }
    return value * 1000;
}

std::optional<int32_t> audioBitrate(const QString& text) {
    const auto number = kbpsNumber(text);
    if (!number) {
        return std::nullopt;
    }
    // Whole kbps and up to three decimals, in integers: 4.75 is 4750 exactly, never 4749.
    const int dot = number->indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? *number : number->left(dot);
    const QString fraction = dot < 0 ? QString() : number->mid(dot + 1);
    if (!allDigits(whole) || (dot >= 0 && !allDigits(fraction)) || whole.size() > 6) {
        return std::nullopt;
    }
    const QString thousandths = (fraction + QStringLiteral("000")).left(3);
    return whole.toInt() * 1000 + thousandths.toInt();
}

QString sampleRate(const QString& text) {
    return text;
}

std::optional<QString> aspect(const QString& text) {
    if (text == QStringLiteral("保持原视频模式") || text == kNoVideo) {
        return QString();
    }
    if (text == QStringLiteral("普通视频4:3模式")) {
        return QStringLiteral("4:3");
    }
    if (text == QStringLiteral("宽屏视频16:9模式")) {
        return QStringLiteral("16:9");
    }
    if (text == QStringLiteral("宽屏视频37:20模式")) {
        return QStringLiteral("37:20");
    }
    if (text == QStringLiteral("宽屏视频47:20模式")) {
        return QStringLiteral("47:20");
    }
    return std::nullopt;
}

}  // namespace talwyn::catalogue::PresetConversion
