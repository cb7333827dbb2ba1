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
  QPainter painter(this);
  painter.fillRect(area, palette().color(QPalette::Window));
  if (overlayPainter_) overlayPainter_(painter, area, QPoint(0, 0));
}

}  // namespace ostrel
