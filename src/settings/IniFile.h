#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <utility>

// option.ini: sections in brackets and key=value lines, read and written one key at a time.
// The file is read once and read again only when it has changed on disk. Every write goes to the
// file at once (atomically) and creates it when missing; lines, sections and keys it does not
// touch are kept byte for byte. Section and key names match without regard to case. When the file
// cannot be written, the values stay in memory for the rest of the run, and one line is logged and
// the failure reported once.

namespace talwyn::settings {

class IniFile {
  public:
    using Logger = std::function<void(const QString&)>;

    // The default that every read passes; a result that is empty or equal to it means "missing".
    static inline const QString kMissing = QStringLiteral("Error");

    explicit IniFile(QString path, Logger logger = {});

    const QString& path() const { return path_; }
    bool exists() const;
    void setLogger(Logger logger) { logger_ = std::move(logger); }
    // Told once, with the reason, the first time the file cannot be written.
    void setFailureReporter(Logger reporter) { reporter_ = std::move(reporter); }

    // The stored text, or fallback when the key is absent.
    QString read(const QString& section, const QString& key, const QString& fallback) const;
    // The stored text, or nothing when it is absent, empty or "Error".
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Returns false when the file could not be written (the value is kept in memory).
    bool write(const QString& section, const QString& key, const QString& value);

  private:
    using Key = std::pair<QString, QString>;  // lower-case section and key
    static Key makeKey(const QString& section, const QString& key);

    // The file's lines and values as last read, and what it was then (size and time).
    void load() const;
    mutable QList<QByteArray> lines_;
    mutable std::map<Key, QString> values_;
    mutable std::optional<std::pair<qint64, qint64>> loadedAs_;

    QString path_;
    Logger logger_;
    Logger reporter_;
    struct Pending {
        QString section, key, value;
    };
    std::map<Key, Pending> unsaved_;
    bool reportedFailure_ = false;
};

}  // namespace talwyn::settings
