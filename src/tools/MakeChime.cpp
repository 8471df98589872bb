// Writes the prompt sound the program plays when a batch is done: a short two-note chime, 16-bit
// mono PCM at 44.1 kHz. Usage: talwyn-make-chime OUTPUT.wav

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void put16(std::FILE* file, uint16_t value) {
    const unsigned char bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
    std::fwrite(bytes, 1, 2, file);
}

void put32(std::FILE* file, uint32_t value) {
    put16(file, uint16_t(value));
    put16(file, uint16_t(value >> 16));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: talwyn-make-chime OUTPUT.wav\n", stderr);
        return 2;
    }
    constexpr int kRate = 44100;
    constexpr double kSeconds = 1.4;
    // Two bell-like notes, E6 then C6, each with a soft overtone and a gentle decay.
    struct Note {
        double start, frequency;
    };
    const Note notes[] = {{0.0, 1318.5}, {0.28, 1046.5}};
    std::vector<int16_t> samples(size_t(kRate * kSeconds));
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / kRate;
        double value = 0;
        for (const Note& note : notes) {
            const double age = t - note.start;
            if (age < 0) {
                continue;
            }
            const double attack = std::min(1.0, age / 0.005);
            const double envelope = attack * std::exp(-age * 4.0);
            value += envelope * (std::sin(2 * M_PI * note.frequency * age) +
                                 0.3 * std::sin(2 * M_PI * note.frequency * 2.76 * age) *
                                     std::exp(-age * 6.0));
        }
        samples[i] = int16_t(std::lround(std::clamp(value * 0.35, -1.0, 1.0) * 32767));
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    put32(file, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    put32(file, 16);
    put16(file, 1);  // PCM
    put16(file, 1);  // mono
    put32(file, kRate);
    put32(file, kRate * 2);
    put16(file, 2);
    put16(file, 16);
    std::fwrite("data", 1, 4, file);
    put32(file, dataBytes);
    for (const int16_t sample : samples) {
        put16(file, uint16_t(sample));
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
