#pragma once

#include <QFrame>
#include <QImage>

// The dark screen of the preview pane; it shows the player's picture in its middle.

namespace talwyn::preview {

class PreviewScreen : public QFrame {
    Q_OBJECT
  public:
    explicit PreviewScreen(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace talwyn::preview
