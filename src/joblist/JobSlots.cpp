#include "joblist/JobSlots.h"

#include <algorithm>

namespace talwyn::joblist {

JobSlots::JobSlots() : IO1(kCount), OO1(kCount) {
    InitValues();
}

void JobSlots::InitValues() {
    for (auto& record : OO1) {
        record.AudioLanguage = kFree.toStdString();
    }
}

int JobSlots::allocate(const media::TInputOptions& input, const media::TOutputOptions& output) {
    const std::string free = kFree.toStdString();
    const auto it = std::find_if(OO1.begin(), OO1.end(),
                                 [&](const auto& record) { return record.AudioLanguage == free; });
    if (it == OO1.end()) {
        return -1;
    }
    const auto slot = int(it - OO1.begin());
    IO1[slot] = input;
    OO1[slot] = output;
    OO1[slot].AudioLanguage = kFull.toStdString();
    return slot;
}

void JobSlots::markDeleted(int slot) {
    if (isValid(slot)) {
        OO1[slot].AudioLanguage = kDeleted.toStdString();
    }
}

QString JobSlots::marker(int slot) const {
    return QString::fromStdString(OO1.at(slot).AudioLanguage);
}

int JobSlots::freeCount() const {
    const std::string free = kFree.toStdString();
    return int(std::count_if(OO1.begin(), OO1.end(),
                             [&](const auto& record) { return record.AudioLanguage == free; }));
}

void JobSlots::setOutput(int slot, const media::TOutputOptions& output) {
    if (isValid(slot)) {
        const std::string marker = OO1[slot].AudioLanguage;
        OO1[slot] = output;
        OO1[slot].AudioLanguage = marker;
    }
}

void JobSlots::setOutputFileName(int slot, const std::string& path) {
    if (isValid(slot)) {
        OO1[slot].FileName = path;
    }
}

media::TOutputOptions JobSlots::output(int slot) const {
    media::TOutputOptions record = OO1.at(slot);
    record.AudioLanguage.clear();
    return record;
}

}  // namespace talwyn::joblist
