#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The text formats of the job list's cells and hidden columns.

namespace talwyn::joblist {

// "hh:mm:ss" with the hours wrapping at 24; negative durations show as 00:00:00.
QString SecToDate(int64_t seconds);

// Bytes as mebibytes rounded half-to-even to hundredths, shortest text, then "MB": 1.5MB, 0MB.
// From 1000MB on, gibibytes the same way, then "GB": 0.98GB, 4.88GB.
QString SizeText(int64_t bytes);

struct CatalogueIndexes {
    int category = 0;
    int profile = 0;
    bool operator==(const CatalogueIndexes&) const = default;
};

// (category + 1) * 100 + profile, and back.
int EncodeCatalogueSlot(CatalogueIndexes indexes);
CatalogueIndexes DecodeCatalogueSlot(int slot);

// The six preset-list positions, in the order they are stored in a row.
struct PresetIndexes {
    int frameSize = 0;     // bsSkinComboBox1
    int videoBitrate = 0;  // bsSkinComboBox2
    int audioBitrate = 0;  // bsSkinComboBox3
    int aspect = 0;        // bsSkinComboBox4
    int frameRate = 0;     // bsSkinComboBox9
    int sampleRate = 0;    // bsSkinComboBox10

    std::array<int, 6> asArray() const {
        return {frameSize, videoBitrate, audioBitrate, aspect, frameRate, sampleRate};
    }
    bool operator==(const PresetIndexes&) const = default;
};

// Each index as two characters ("0" + index below 10, else the decimal index), concatenated.
// A list without a selection (-1) gives "0-1", which no reader accepts back.
QString EncodePresetPositions(const PresetIndexes& indexes);
// The text with one field (0 frame size … 5 sample rate, the stored order) set to index; the
// other characters stay, the text ends at twelve characters.
QString ReplacePresetField(const QString& text, int field, int index);
// Six two-digit fields; anything else (a "0-1" field, a short or long text) gives nothing.
std::optional<PresetIndexes> DecodePresetPositions(const QString& text);

}  // namespace talwyn::joblist
