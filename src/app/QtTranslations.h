#pragma once

#include <QString>

class QCoreApplication;

namespace talwyn::app {

// Qt's own texts (the buttons of message boxes, the file dialogs' labels and menus) in
// Simplified Chinese, whatever the user's locale, so that they match the program's own texts.
// The translation is looked up in Qt's translations folder unless a folder is given. When it
// cannot be loaded, one line says so on standard error and Qt's English stays; false then.
bool InstallQtTranslations(QCoreApplication& application, const QString& folder = {});

}  // namespace talwyn::app
