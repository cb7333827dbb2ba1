#include "app/client_area.h"

#include <QPaintEvent>
#include <QPainter>

namespace ostrel {

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
  // The background is painted here, with the overlay, not filled by Qt beforehand.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
  const QRect area = event->rect();
  if (area.isEmpty()) return;
  if (composed_.size() != area.size()) composed_ = QImage(area.size(), QImage::Format_RGB32);
  composed_.fill(palette().color(QPalette::Window));
  if (overlayPainter_) overlayPainter_(composed_, area.topLeft());
  QPainter painter(this);
  painter.drawImage(area.topLeft(), composed_);
}

}  // namespace ostrel
