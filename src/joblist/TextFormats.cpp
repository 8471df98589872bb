#include "joblist/TextFormats.h"

#include <algorithm>

namespace talwyn::joblist {

QString SecToDate(int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    const int64_t hours = (seconds / 3600) % 24;
    const int64_t minutes = (seconds / 60) % 60;
    const int64_t secs = seconds % 60;
    return QString::asprintf("%.2d:%.2d:%.2d", int(hours), int(minutes), int(secs));
}

namespace {

// value / unit rounded half-to-even to hundredths, in hundredths. Exact integer arithmetic: a
// float quotient can land just below a half and round wrongly.
int64_t roundedHundredths(int64_t value, int64_t unit) {
    const int64_t whole = value / unit;
    const int64_t rest = value % unit;  // the fraction is rest / unit
    int64_t hundredths = rest * 100 / unit;
    const int64_t remainder = rest * 100 % unit;
    if (2 * remainder > unit || (2 * remainder == unit && hundredths % 2 == 1)) {
        ++hundredths;
    }
    return whole * 100 + hundredths;
}

// The shortest decimal text: no trailing zeros, no point for a whole number.
QString hundredthsText(int64_t total) {
    QString text = QString::number(total / 100);
    const int64_t fraction = total % 100;
    if (fraction != 0) {
        text += '.';
        text += QString::number(fraction / 10);
        if (fraction % 10 != 0) {
            text += QString::number(fraction % 10);
        }
    }
    return text;
}

}  // namespace

QString SizeText(int64_t bytes) {
    if (bytes < 0) {
        bytes = 0;
    }
    constexpr int64_t kMiB = 1048576;
    const int64_t mebibytes = roundedHundredths(bytes, kMiB);
    // Four-digit mebibyte counts would not fit the list's size columns.
    if (mebibytes < 1000 * 100) {
        return hundredthsText(mebibytes) + QStringLiteral("MB");
    }
    return hundredthsText(roundedHundredths(bytes, kMiB * 1024)) + QStringLiteral("GB");
}

int EncodeCatalogueSlot(CatalogueIndexes indexes) {
    return (indexes.category + 1) * 100 + indexes.profile;
}

CatalogueIndexes DecodeCatalogueSlot(int slot) {
    const int hundreds = slot / 100;
    return {hundreds - 1, slot - 100 * hundreds};
}

namespace {
QString twoDigits(int index) {
    return index < 10 ? QStringLiteral("0") + QString::number(index) : QString::number(index);
}
}  // namespace

QString EncodePresetPositions(const PresetIndexes& indexes) {
    QString text;
    for (const int index : indexes.asArray()) {
        text += twoDigits(index);
    }
    return text;
}

QString ReplacePresetField(const QString& text, int field, int index) {
    const int start = 2 * field;
    return text.left(start) + twoDigits(index) + text.mid(start + 2, std::max(0, 10 - start));
}

std::optional<PresetIndexes> DecodePresetPositions(const QString& text) {
    if (text.size() != 12) {
        return std::nullopt;
    }
    std::array<int, 6> values{};
    for (int field = 0; field < 6; ++field) {
        const QChar high = text[2 * field];
        const QChar low = text[2 * field + 1];
        if (high < '0' || high > '9' || low < '0' || low > '9') {
            return std::nullopt;
        }
        values[field] = (high.unicode() - '0') * 10 + (low.unicode() - '0');
    }
    return PresetIndexes{values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace talwyn::joblist
