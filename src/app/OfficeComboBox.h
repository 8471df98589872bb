#pragma once

#include <QComboBox>

namespace talwyn::app {

// A drop-down whose entries carry an icon, a bold title and a caption line; the closed box shows
// the current entry the same way. Its drop-down shows a fixed number of rows of a fixed height.
class OfficeComboBox : public QComboBox {
    Q_OBJECT
  public:
    OfficeComboBox(int rowHeight, int visibleRows, bool separators, QWidget* parent = nullptr);

    void addEntry(const QIcon& icon, const QString& title, const QString& caption);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace talwyn::app
