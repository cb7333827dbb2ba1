#pragma once

#include <QImage>
#include <QWidget>

#include "app/overlay_painter.h"

namespace ostrel {

// The main window's client area below the menu bar. Where neither the picture nor the bar
// covers it (the letterbox bars), it shows its background with the overlay over it, so that
// trails and boxes reaching past the picture stay visible.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(QWidget* parent = nullptr);

  void SetOverlayPainter(OverlayPainter painter) { overlayPainter_ = std::move(painter); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  OverlayPainter overlayPainter_;
};

}  // namespace ostrel
