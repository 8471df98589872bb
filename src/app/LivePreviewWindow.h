#pragma once

#include <QImage>
#include <QWidget>

namespace talwyn::app {

// A small window showing the picture being encoded while a batch runs.
class LivePreviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LivePreviewWindow(QWidget* parent = nullptr);
    void showPicture(const QImage& picture, const QString& caption);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace talwyn::app
