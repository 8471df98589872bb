#pragma once

#include <QDialog>

class QListWidget;

namespace talwyn::app {

// "Select skin": the list of skins with the one in force preselected.
class SkinSelectDialog : public QDialog {
    Q_OBJECT
  public:
    SkinSelectDialog(const QStringList& names, int current, QWidget* parent = nullptr);
    int chosen() const;

  private:
    QListWidget* list_ = nullptr;
};

}  // namespace talwyn::app
