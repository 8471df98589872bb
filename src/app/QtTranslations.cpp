#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace talwyn::app {

bool InstallQtTranslations(QCoreApplication& application, const QString& folder) {
    const QString where =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), where)) {
        delete translator;
        // Not worth a box: the program works, only Qt's buttons stay in English.
        std::fprintf(stderr, "talwynwav: no qtbase_zh_CN.qm in %s; Qt's dialogs stay in English\n",
                     qPrintable(where));
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace talwyn::app
