#pragma once

#include <QString>
#include <QTemporaryDir>

// Test media made once per test program in a folder of its own: a 2-second clip with picture and
// sound, a 2-second tone, and a 30-second tone for tests that need a task to last.

namespace talwyn::test {

struct MediaFiles {
    QString clip;       // clip.avi: MPEG-4 320x240 25 fps, PCM 44.1 kHz stereo
    QString tone;       // tone.wav: PCM 44.1 kHz stereo
    QString longTone;   // long.wav: 30 s
    QString shortClip;  // short.avi: 0.6 s, 176x144
    QString folder;

    static const MediaFiles& get();
};

}  // namespace talwyn::test
