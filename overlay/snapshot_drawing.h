#pragma once

#include <QImage>

#include "overlay/overlay_pens.h"
#include "overlay/overlay_scene.h"
#include "overlay/pixel_canvas.h"

namespace ostrel {

// Draws the current frame's points, and every trajectory of its slot with a trail and a box,
// onto a picture in plain colours, in the picture's own coordinates. Which points show is
// judged by scene.videoRect, the picture as it is shown on screen, so the snapshot shows
// what the window showed; trails and boxes are drawn in full, without the live overlay's
// visibility and distance cuts.
// `ledger` is for callers that draw picture after picture: the canvas's scratch to reuse,
// and tiles to mark where the drawing went.
void DrawSnapshotOverlay(QImage& picture, const OverlayScene& scene, const OverlayPens& pens,
                         CanvasLedger ledger = {});

}  // namespace ostrel
