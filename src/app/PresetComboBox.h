#pragma once

#include <QComboBox>

namespace talwyn::app {

// A preset list that can say that its chosen entry is not used as it stands: the closed box then
// shows the value really used beside the entry (or instead of it when the list is locked to one
// value), and its tool tip says why. The entries themselves stay as they are.
class PresetComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

    // The value really used, empty when the entry is used as it stands; locked: every entry of
    // the list gives this value, so the list is not to be chosen from.
    void setEffective(const QString& value, bool locked);
    const QString& effective() const { return effective_; }
    bool locked() const { return locked_; }
    // What the closed box shows.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString effective_;
    bool locked_ = false;
};

}  // namespace talwyn::app
