#pragma once

#include <QObject>

#include <functional>

class QSlider;

// A click on a slider's track outside its handle jumps to the place clicked, as media players
// do, instead of moving the handle a page towards it.

namespace talwyn::app {

class TrackClickFilter : public QObject {
    Q_OBJECT
  public:
    // jump is given the value under the click; the slider keeps its handle under the mouse.
    TrackClickFilter(QSlider* slider, std::function<void(int value)> jump);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSlider* slider_;
    std::function<void(int)> jump_;
};

}  // namespace talwyn::app
