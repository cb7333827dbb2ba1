#pragma once

#include <QSlider>

namespace ostrel {

// The playback slider, 0 to 100 percent of the video. Seeking is expensive, so the viewer
// seeks only when the user has finished a move: `trackEnded` comes when the mouse button
// that pressed on the slider goes up (after a drag as after a click beside the thumb), when
// a navigation key is let go, and after a wheel step that moved it. Moving the thumb alone, and
// setting the value from code, never report it.
class Trackbar : public QSlider {
  Q_OBJECT

 public:
  explicit Trackbar(QWidget* parent = nullptr);

 signals:
  void trackEnded();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool leftButtonDown_ = false;
};

}  // namespace ostrel
