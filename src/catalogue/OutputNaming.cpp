#include "catalogue/OutputNaming.h"

#include <QFileInfo>

namespace talwyn::catalogue::OutputNaming {
namespace {

// The position where the file-name part of a path starts.
int nameStart(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/')) + 1;
}

}  // namespace

QString withExtension(const QString& fileName, const QString& ext) {
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot < nameStart(fileName) ? fileName : fileName.left(dot)) + ext;
}

QString outputPath(const QString& inputPath, const QString& folder, const QString& ext) {
    return folder + QLatin1Char('/') + withExtension(inputPath.mid(nameStart(inputPath)), ext);
}

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString uniquePath(const QString& path, bool overwrite,
                   const std::function<bool(const QString&)>& taken) {
    if (overwrite || !taken(path)) {
        return path;
    }
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot >= nameStart(path);
    const QString stem = hasExtension ? path.left(dot) : path;
    const QString ext = hasExtension ? path.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString candidate = stem + QLatin1Char('_') + QString::number(n) + ext;
        if (!taken(candidate)) {
            return candidate;
        }
    }
}

}  // namespace talwyn::catalogue::OutputNaming
