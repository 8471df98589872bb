#pragma once

#include "app/Dialogs.h"

namespace talwyn::app {

// The real dialogs: Qt's message boxes and file dialogs, and the skin list.
class QtDialogs : public Dialogs {
  public:
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void notice(QWidget* parent, const QString& text) override;
    int runModal(QDialog& dialog) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& start) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter,
                          const QString& start) override;
    bool shutdownCountdown(QWidget* parent, int seconds) override;
    std::optional<int> chooseSkin(QWidget* parent, const QStringList& names, int current) override;
};

}  // namespace talwyn::app
