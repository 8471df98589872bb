#include "app/QtDialogs.h"

#include "app/OpenFilter.h"
#include "app/ProductInfo.h"
#include "app/SkinSelectDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace talwyn::app {
namespace {

// Qt's own dialog rather than the desktop's: its texts follow the program's Chinese translation
// whatever the desktop's language, and its filter list shows the descriptions as written.
void prepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
}

QStringList openFileDialog(QWidget* parent, const QString& title, const QString& filter,
                           const QString& start, bool several) {
    QFileDialog dialog(parent, title, start);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    const QStringList entries = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(entries);
    // Hiding the patterns, Qt also folds every run of white space into one plain blank, which
    // would change a description's ideographic space; the list gets the descriptions back.
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        types && types->count() == entries.size()) {
        for (int i = 0; i < entries.size(); ++i) {
            types->setItemText(i, OpenFilterDescription(entries[i]));
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

}  // namespace

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
    QFileDialog dialog(parent, title, start);
    prepareFileDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title,
                                           const QString& filter, const QString& start) {
    const QStringList files = openFileDialog(parent, title, filter, start, false);
    if (files.isEmpty()) {
        return std::nullopt;
    }
    return files.constFirst();
}

QStringList QtDialogs::openFiles(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& start) {
    return openFileDialog(parent, title, filter, start, true);
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
