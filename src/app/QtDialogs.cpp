#include "app/QtDialogs.h"

#include "app/ProductInfo.h"
#include "app/SkinSelectDialog.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace talwyn::app {

void QtDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("提示"), text);
}

void QtDialogs::warning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kProductName, text);
}

void QtDialogs::notice(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("提示"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
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

bool QtDialogs::shutdownCountdown(QWidget* parent, int seconds) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), {}, QMessageBox::Cancel,
                    parent);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    int left = seconds;
    const auto show = [&] {
        box.setText(QStringLiteral("转换完成，计算机将在 %1 秒后关闭。").arg(left));
    };
    show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &box, [&] {
        if (--left <= 0) {
            box.done(QMessageBox::Ok);
            return;
        }
        show();
    });
    tick.start(1000);
    return box.exec() == QMessageBox::Ok;
}

std::optional<int> QtDialogs::chooseSkin(QWidget* parent, const QStringList& names, int current) {
    SkinSelectDialog dialog(names, current, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

}  // namespace talwyn::app
