#pragma once

#include <QDialog>

namespace talwyn::app {

class Desktop;

// "关于软件": logo, name, version, the web site and the support address.
class AboutWindow : public QDialog {
    Q_OBJECT
  public:
    AboutWindow(Desktop& desktop, QWidget* parent = nullptr);
};

}  // namespace talwyn::app
