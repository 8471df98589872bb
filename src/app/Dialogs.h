#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QWidget;

namespace talwyn::app {

// Every message box and modal window the program shows goes through here, so that tests can answer
// them.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The message box "提示" with the information icon and an OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // A plain warning box captioned with the program's title.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // A box that waits for nobody: the window goes on while it is shown (the end of a batch).
    virtual void notice(QWidget* parent, const QString& text) = 0;
    // Shows one of the program's own dialogs modally; returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
    // An existing folder chosen by the user, or nothing when cancelled.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& start) = 0;
    // The file dialogs start in the folder `start` when it is not empty.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title,
                                            const QString& filter, const QString& start) = 0;
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& start) = 0;
    // Counts down before the machine is shut down; false when the user cancels.
    virtual bool shutdownCountdown(QWidget* parent, int seconds) = 0;
    // The skin chosen in "Select skin", or nothing when cancelled.
    virtual std::optional<int> chooseSkin(QWidget* parent, const QStringList& names,
                                          int current) = 0;
};

}  // namespace talwyn::app
