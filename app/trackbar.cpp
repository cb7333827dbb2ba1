#include "app/trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace ostrel {
namespace {

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

}  // namespace

Trackbar::Trackbar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setRange(0, 100);
  setTickPosition(QSlider::NoTicks);
}

void Trackbar::mousePressEvent(QMouseEvent* event) {
  QSlider::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && event->isAccepted()) leftButtonDown_ = true;
}

void Trackbar::mouseReleaseEvent(QMouseEvent* event) {
  QSlider::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !leftButtonDown_) return;
  leftButtonDown_ = false;
  emit trackEnded();
}

void Trackbar::keyReleaseEvent(QKeyEvent* event) {
  if (!IsNavigationKey(event->key()) || event->isAutoRepeat()) {
    QSlider::keyReleaseEvent(event);
    return;
  }
  event->accept();
  emit trackEnded();
}

void Trackbar::wheelEvent(QWheelEvent* event) {
  const int before = value();
  QSlider::wheelEvent(event);
  if (value() != before) emit trackEnded();
}

}  // namespace ostrel
