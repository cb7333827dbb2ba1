#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>

#include "overlay/overlay_state.h"

namespace ostrel {

// Shows the live overlay over what `painter` has just painted, as applying the overlay's
// mask does: `area` is the part being painted, in the painter's coordinates, whose top-left
// pixel lies at `origin` in the client area.
//
// The mask is the exclusive-or of the point layer's discs and the trajectory layer's pixels,
// so where the painter's picture is at hand those are combined into it instead: the work
// follows the pixels drawn, and the mask, cold in memory after a frame's worth of video has
// passed through, is never read.
//
// The first showing after a redraw puts the trajectory pixels in rows, joined into runs, so
// that each band of a picture painted band by band finds its own at once and combines a run
// at a time; drawing that is never shown (a rendered video's) never pays for it.
void ShowOverlay(QPainter& painter, const QRect& area, OverlayState& overlay, QPoint origin);

}  // namespace ostrel
