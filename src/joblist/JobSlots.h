#pragma once

#include "media/TaskOptions.h"

#include <QString>

#include <vector>

// The pool of 501 option slots. Each job keeps the converter records built when its file was
// added in one slot; the slot's marker tells whether it is free, in use or belongs to a removed
// row. Slots are made free again only all at once, when the list is cleared.

namespace talwyn::joblist {

class JobSlots {
  public:
    static constexpr int kCount = 501;
    static inline const QString kFree = QStringLiteral("kong");
    static inline const QString kFull = QStringLiteral("Full");
    static inline const QString kDeleted = QStringLiteral("DELETED");

    JobSlots();

    // Marks every slot free.
    void InitValues();

    // Stores the records in the first free slot and returns its index, or -1 when none is free.
    int allocate(const media::TInputOptions& input, const media::TOutputOptions& output);
    void markDeleted(int slot);

    QString marker(int slot) const;
    int freeCount() const;
    bool isValid(int slot) const { return slot >= 0 && slot < kCount; }

    // The stored records, without the marker (which is bookkeeping of the list only).
    const media::TInputOptions& input(int slot) const { return IO1.at(slot); }
    media::TOutputOptions output(int slot) const;
    // A job's new output record; the marker stays.
    void setOutput(int slot, const media::TOutputOptions& output);
    // A renamed job's new output path.
    void setOutputFileName(int slot, const std::string& path);

  private:
    std::vector<media::TInputOptions> IO1;
    std::vector<media::TOutputOptions> OO1;  // AudioLanguage carries the marker
};

}  // namespace talwyn::joblist
