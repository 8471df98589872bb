#pragma once

#include <QString>

// Where option.ini lives: the folder named by TALWYN_CONFIG_DIR; else beside the executable when
// that folder is writable and is not an installed program's folder; else the user's configuration
// folder ($XDG_CONFIG_HOME/talwynwav, by default ~/.config/talwynwav).

namespace talwyn::settings {

struct ConfigLocation {
    static QString optionIniPath();

    // The folder choice itself, for callers that know the facts.
    static QString chooseFolder(const QString& configDirVariable, const QString& executableFolder,
                                bool executableFolderWritable, const QString& installedBinFolder,
                                const QString& xdgConfigHome, const QString& home);
};

}  // namespace talwyn::settings
