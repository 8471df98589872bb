#include "settings/ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace talwyn::settings {

QString ConfigLocation::chooseFolder(const QString& configDirVariable,
                                     const QString& executableFolder, bool executableFolderWritable,
                                     const QString& installedBinFolder,
                                     const QString& xdgConfigHome, const QString& home) {
    if (!configDirVariable.isEmpty()) {
        return QDir::cleanPath(configDirVariable);
    }
    const bool installed = QDir::cleanPath(executableFolder) == QDir::cleanPath(installedBinFolder);
    if (!executableFolder.isEmpty() && executableFolderWritable && !installed) {
        return QDir::cleanPath(executableFolder);
    }
    const QString base =
        xdgConfigHome.isEmpty() ? home + QStringLiteral("/.config") : xdgConfigHome;
    return QDir::cleanPath(base + QStringLiteral("/talwynwav"));
}

QString ConfigLocation::optionIniPath() {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString folder = chooseFolder(qEnvironmentVariable("TALWYN_CONFIG_DIR"), executableFolder,
                                        QFileInfo(executableFolder).isWritable(),
                                        QStringLiteral(TALWYN_INSTALL_BINDIR),
                                        qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    return folder + QStringLiteral("/option.ini");
}

}  // namespace talwyn::settings
