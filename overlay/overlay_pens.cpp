#include "overlay/overlay_pens.h"

namespace ostrel {

OverlayPens MakeOverlayPens() {
  const auto pen = [](int red, int green, int blue) {
    return Pen{QColor(red, green, blue), kOverlayPenWidth};
  };
  OverlayPens result;
  result.pens = {pen(255, 0, 0),   pen(255, 128, 128), pen(255, 128, 0), pen(128, 0, 255),
                 pen(255, 255, 0), pen(255, 0, 255),   pen(0, 255, 255)};
  result.whitePen = Pen{QColor(255, 255, 255), 1};
  result.whiteBrush = QColor(255, 255, 255);
  return result;
}

}  // namespace ostrel
