#include "app/SkippedFiles.h"

#include <QDir>
#include <QStringList>

namespace talwyn::app {

void SkippedFiles::add(const QString& path, const QString& reason) {
    entries_.append({path, reason});
}

QString SkippedFiles::message() const {
    QStringList lines;
    lines << QStringLiteral("以下 %1 项没有加入列表：").arg(entries_.size());
    for (qsizetype i = 0; i < entries_.size() && i < kShownEntries; ++i) {
        lines << QDir::toNativeSeparators(entries_[i].path) + QStringLiteral("：") +
                     entries_[i].reason;
    }
    if (entries_.size() > kShownEntries) {
        lines << QStringLiteral("… 还有 %1 项未列出").arg(entries_.size() - kShownEntries);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace talwyn::app
