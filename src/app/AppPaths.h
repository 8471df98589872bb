#pragma once

#include <QString>

namespace talwyn::app::AppPaths {

QString executableFolder();
// A file the program only reads: beside the executable in a build, else in the installed data
// folder. When it is in neither place, the path beside the executable.
QString dataFile(const QString& name);

}  // namespace talwyn::app::AppPaths
