#pragma once

#include <QList>
#include <QString>

namespace talwyn::app {

// What an add of dropped or named files and folders left out, and why; told afterwards in one
// box, so a tree with many refused files asks for one click, not one per file.
class SkippedFiles {
  public:
    // The box lists this many entries; the rest are only counted.
    static constexpr int kShownEntries = 20;

    void add(const QString& path, const QString& reason);
    bool isEmpty() const { return entries_.isEmpty(); }

    // "以下 N 项没有加入列表：", then one line "path：reason" per entry, and when there are more
    // than the box lists, a last line "… 还有 M 项未列出".
    QString message() const;

  private:
    struct Entry {
        QString path;
        QString reason;
    };
    QList<Entry> entries_;
};

}  // namespace talwyn::app
