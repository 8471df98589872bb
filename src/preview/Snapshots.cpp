#include "preview/Snapshots.h"

#include "media/GifWriter.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace talwyn::preview {
namespace {

const QString kSection = QStringLiteral("SnapShot");

}  // namespace

QString Snapshots::defaultFolder() {
    return QDir::homePath() + QStringLiteral("/Talwyn视频软件/快照");
}

QString Snapshots::folder() {
    if (ini_.exists()) {
        if (const auto stored = ini_.value(kSection, QStringLiteral("Dir"));
            stored && QDir::isAbsolutePath(*stored) && QDir().mkpath(*stored)) {
            return QDir::cleanPath(*stored);
        }
    }
    const QString folder = defaultFolder();
    QDir().mkpath(folder);
    ini_.write(kSection, QStringLiteral("Dir"), folder);
    return folder;
}

QString Snapshots::type() {
    if (ini_.exists()) {
        const auto stored = ini_.value(kSection, QStringLiteral("Picture"));
        for (const char* known : {"BMP", "JPG", "GIF", "PNG"}) {
            if (stored && *stored == QLatin1String(known)) {
                return *stored;
            }
        }
    }
    ini_.write(kSection, QStringLiteral("Picture"), QStringLiteral("BMP"));
    return QStringLiteral("BMP");
}

void Snapshots::setType(const QString& type) {
    ini_.write(kSection, QStringLiteral("Picture"), type);
}

void Snapshots::setFolder(const QString& folder) {
    ini_.write(kSection, QStringLiteral("Dir"), folder);
}

QString Snapshots::save(const QImage& picture, const QString& previewFile, QString* error) {
    const QString where = folder();
    const QString kind = type();
    if (picture.isNull() || picture.width() == 0) {
        return {};
    }
    const QString extension =
        QLatin1Char('.') + (kind == QLatin1String("JPG") ? QStringLiteral("jpg") : kind.toLower());
    const QString base = QFileInfo(previewFile).completeBaseName();
    QString path;
    for (int n = 1;; ++n) {
        path = where + QLatin1Char('/') + base + QLatin1Char('_') + QString::number(n) + extension;
        if (!QFileInfo::exists(path)) {
            break;
        }
    }
    bool saved = false;
    if (kind == QLatin1String("GIF")) {
        const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
        std::vector<uint32_t> palette(256, 0xff000000);
        const QList<QRgb> colours = indexed.colorTable();
        std::copy(colours.begin(), colours.end(), palette.begin());
        const std::string problem =
            media::WriteGif(path.toStdString(), indexed.width(), indexed.height(),
                            indexed.constBits(), int(indexed.bytesPerLine()), palette.data());
        saved = problem.empty();
        if (!saved && error) {
            *error = QString::fromStdString(problem);
        }
    } else {
        saved =
            picture.save(path, kind == QLatin1String("JPG") ? "JPG" : kind.toLatin1().constData(),
                         kind == QLatin1String("JPG") ? 90 : -1);
        if (!saved && error) {
            *error = QStringLiteral("无法保存快照 ") + path;
        }
    }
    return saved ? path : QString();
}

}  // namespace talwyn::preview
