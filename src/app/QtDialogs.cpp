#include "app/QtDialogs.h"

#include "app/ProductInfo.h"
#include "app/SkinSelectDialog.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace talwyn::app {

void QtDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("提示"), text);
}

void QtDialogs::warning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kProductName, text);
}

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* parent, const QString& title,
                                               const QString& start) {
    const QString folder = QFileDialog::getExistingDirectory(parent, title, start);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QDir::cleanPath(folder);
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title,
                                           const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(parent, title, {}, filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

QStringList QtDialogs::openFiles(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, {}, filter);
}

std::optional<int> QtDialogs::chooseSkin(QWidget* parent, const QStringList& names, int current) {
    SkinSelectDialog dialog(names, current, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

}  // namespace talwyn::app
