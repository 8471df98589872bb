#pragma once

#include "app/Dialogs.h"

#include <QDialog>

#include <functional>

namespace talwyn::test {

// Answers every dialog from what the test set up, and remembers what was asked.
class FakeDialogs : public app::Dialogs {
  public:
    QStringList informations;
    QStringList warnings;
    QStringList notices;
    QStringList modalShown;  // object names of the dialogs shown modally
    std::function<int(QDialog&)> onModal;
    std::optional<QString> folderAnswer;
    QString folderTitle;
    QStringList startFolders;  // where each file or folder dialog was asked to start
    std::optional<int> skinAnswer;
    std::optional<QString> fileAnswer;
    QStringList filesAnswer;
    bool shutdownAnswer = true;
    int shutdownAsked = 0;
    int skinOffered = -2;
    QStringList skinNames;

    void information(QWidget*, const QString& text) override { informations << text; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void notice(QWidget*, const QString& text) override { notices << text; }
    int runModal(QDialog& dialog) override {
        modalShown << dialog.objectName();
        return onModal ? onModal(dialog) : int(QDialog::Rejected);
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title,
                                        const QString& start) override {
        folderTitle = title;
        startFolders << start;
        return folderAnswer;
    }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&,
                                    const QString& start) override {
        startFolders << start;
        return fileAnswer;
    }
    QStringList openFiles(QWidget*, const QString&, const QString&, const QString& start) override {
        startFolders << start;
        return filesAnswer;
    }
    bool shutdownCountdown(QWidget*, int) override {
        ++shutdownAsked;
        return shutdownAnswer;
    }
    std::optional<int> chooseSkin(QWidget*, const QStringList& names, int current) override {
        skinNames = names;
        skinOffered = current;
        return skinAnswer;
    }
};

}  // namespace talwyn::test
