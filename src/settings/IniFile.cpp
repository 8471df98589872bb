#include "settings/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace talwyn::settings {
namespace {

struct ParsedLine {
    enum Kind { Other, Section, Entry } kind = Other;
    QString name;   // section or key, as written
    QString value;  // entries only
};

QByteArray withoutBom(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }
    return bytes;
}

ParsedLine parse(QByteArray line) {
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    const QByteArray trimmed = line.trimmed();
    ParsedLine parsed;
    if (trimmed.startsWith('[')) {
        const int close = trimmed.indexOf(']');
        if (close > 0) {
            parsed.kind = ParsedLine::Section;
            parsed.name = QString::fromUtf8(trimmed.mid(1, close - 1)).trimmed();
        }
        return parsed;
    }
    if (trimmed.startsWith(';')) {
        return parsed;
    }
    const int equals = trimmed.indexOf('=');
    if (equals <= 0) {
        return parsed;
    }
    parsed.kind = ParsedLine::Entry;
    parsed.name = QString::fromUtf8(trimmed.left(equals)).trimmed();
    QString value = QString::fromUtf8(trimmed.mid(equals + 1)).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
        value = value.mid(1, value.size() - 2);
    }
    parsed.value = value;
    return parsed;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QList<QByteArray> readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = withoutBom(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();  // the text ended with a line break
    }
    return lines;
}

// Puts key=value into the lines: replaces the key's first line in its section, or adds the key
// at the end of the section, or adds the section at the end of the file.
void place(QList<QByteArray>& lines, const QString& section, const QString& key,
           const QString& value, const QByteArray& lineEnd) {
    const QByteArray entry = (key + '=' + value).toUtf8();
    int sectionStart = -1;
    int lastEntryOfSection = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parse(lines[i]);
        if (parsed.kind == ParsedLine::Section) {
            if (sectionStart >= 0) {
                break;
            }
            if (sameName(parsed.name, section)) {
                sectionStart = i;
                lastEntryOfSection = i;
            }
        } else if (sectionStart >= 0 && parsed.kind == ParsedLine::Entry) {
            if (sameName(parsed.name, key)) {
                lines[i] = entry + (lines[i].endsWith('\r') ? "\r" : "");
                return;
            }
            lastEntryOfSection = i;
        }
    }
    const QByteArray cr = lineEnd == "\r\n" ? "\r" : "";
    if (sectionStart >= 0) {
        lines.insert(lastEntryOfSection + 1, entry + cr);
        return;
    }
    lines.append('[' + section.toUtf8() + ']' + cr);
    lines.append(entry + cr);
}

}  // namespace

IniFile::IniFile(QString path, Logger logger)
    : path_(std::move(path)), logger_(std::move(logger)) {}

bool IniFile::exists() const {
    return QFileInfo(path_).isFile();
}

IniFile::Key IniFile::makeKey(const QString& section, const QString& key) {
    return {section.toLower(), key.toLower()};
}

void IniFile::load() const {
    const QFileInfo info(path_);
    const std::optional<std::pair<qint64, qint64>> now =
        info.isFile()
            ? std::optional(std::pair{info.size(), info.lastModified().toMSecsSinceEpoch()})
            : std::nullopt;
    if (loadedAs_ && now == loadedAs_) {
        return;
    }
    lines_ = now ? readLines(path_) : QList<QByteArray>();
    values_.clear();
    QString section;
    for (const QByteArray& line : lines_) {
        const ParsedLine parsed = parse(line);
        if (parsed.kind == ParsedLine::Section) {
            section = parsed.name;
        } else if (parsed.kind == ParsedLine::Entry && !section.isNull()) {
            values_.emplace(makeKey(section, parsed.name), parsed.value);  // the first one counts
        }
    }
    loadedAs_ = now ? now : std::optional(std::pair<qint64, qint64>{-1, -1});
}

QString IniFile::read(const QString& section, const QString& key, const QString& fallback) const {
    if (const auto it = unsaved_.find(makeKey(section, key)); it != unsaved_.end()) {
        return it->second.value;
    }
    load();
    const auto it = values_.find(makeKey(section, key));
    return it == values_.end() ? fallback : it->second;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const QString text = read(section, key, kMissing);
    if (text.isEmpty() || text == kMissing) {
        return std::nullopt;
    }
    return text;
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    unsaved_[makeKey(section, key)] = {section, key, value};

    load();
    QList<QByteArray> lines = lines_;
    // New lines follow the file's own line ends.
    const QByteArray lineEnd =
        !lines.isEmpty() && lines.first().endsWith('\r') ? QByteArray("\r\n") : QByteArray("\n");
    // Values that could not be written before go in with this one.
    for (const auto& [names, pending] : unsaved_) {
        place(lines, pending.section, pending.key, pending.value, lineEnd);
    }

    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    bool saved = file.open(QIODevice::WriteOnly);
    if (saved) {
        for (const QByteArray& line : lines) {
            file.write(line);
            file.write("\n");
        }
        saved = file.commit();
    }
    if (saved) {
        // What was written is what is known now; the file need not be read again.
        lines_ = lines;
        for (const auto& [names, pending] : unsaved_) {
            values_[names] = pending.value;
        }
        unsaved_.clear();
        const QFileInfo info(path_);
        loadedAs_ = std::pair{info.size(), info.lastModified().toMSecsSinceEpoch()};
        return true;
    }
    if (!reportedFailure_) {
        if (logger_) {
            logger_(QStringLiteral(
                        "option.ini: cannot write %1 (%2); settings are kept for this run only")
                        .arg(path_, file.errorString()));
        }
        if (reporter_) {
            reporter_(file.errorString());
        }
    }
    reportedFailure_ = true;
    return false;
}

}  // namespace talwyn::settings
