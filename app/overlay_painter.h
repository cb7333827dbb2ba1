#pragma once

#include <QImage>
#include <QPoint>
#include <functional>

namespace ostrel {

// Shows the live overlay over a picture that is about to go on screen: `picture` is changed
// in place, its top-left pixel lying at `origin` in the main window's client area.
using OverlayPainter = std::function<void(QImage& picture, QPoint origin)>;

}  // namespace ostrel
