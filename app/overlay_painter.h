#pragma once

#include <QImage>
#include <QPoint>
#include <functional>

namespace ostrel {

// Shows the live overlay over what a widget has just painted: `painter` paints the widget,
// `area` is the part being painted (widget coordinates), and the widget's top-left pixel lies
// at `origin` in the main window's client area.
using OverlayPainter = std::function<void(QPainter& painter, const QRect& area, QPoint origin)>;

}  // namespace ostrel
