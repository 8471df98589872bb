#include "app/AppPaths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace talwyn::app::AppPaths {

QString executableFolder() {
    return QCoreApplication::applicationDirPath();
}

QString dataFile(const QString& name) {
    const QString beside = executableFolder() + '/' + name;
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString installed = QStringLiteral(TALWYN_DATA_DIR) + '/' + name;
    if (QFileInfo::exists(installed)) {
        return installed;
    }
    return beside;
}

}  // namespace talwyn::app::AppPaths
