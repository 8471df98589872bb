#include "support/MediaFiles.h"

#include "support/MediaMaker.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <cstdlib>

namespace talwyn::test {

const MediaFiles& MediaFiles::get() {
    av_log_set_level(AV_LOG_ERROR);
    static QTemporaryDir folder;
    static const MediaFiles files = [] {
        MediaFiles made;
        made.folder = folder.path();
        made.clip = folder.filePath(QStringLiteral("clip.avi"));
        made.tone = folder.filePath(QStringLiteral("tone.wav"));
        made.longTone = folder.filePath(QStringLiteral("long.wav"));
        made.shortClip = folder.filePath(QStringLiteral("short.avi"));
        MediaSpec toneSpec;
        toneSpec.video = false;
        MediaSpec longSpec = toneSpec;
        longSpec.seconds = 30;
        longSpec.sampleRate = 48000;
        MediaSpec shortSpec;
        shortSpec.seconds = 0.6;
        shortSpec.width = 176;
        shortSpec.height = 144;
        for (const auto& [path, spec] :
             {std::pair{made.clip, MediaSpec{}}, std::pair{made.tone, toneSpec},
              std::pair{made.longTone, longSpec}, std::pair{made.shortClip, shortSpec}}) {
            const std::string error = makeMedia(path.toStdString(), spec);
            if (!error.empty()) {
                std::fprintf(stderr, "cannot make test media %s: %s\n", qPrintable(path),
                             error.c_str());
                std::abort();
            }
        }
        return made;
    }();
    return files;
}

}  // namespace talwyn::test
