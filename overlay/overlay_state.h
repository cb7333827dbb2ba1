#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "overlay/kept_trail_strokes.h"
#include "overlay/overlay_pens.h"
#include "overlay/pixel_canvas.h"
#include "overlay/pixel_shapes.h"
#include "overlay/tile_marks.h"
#include "overlay/video_rect.h"
#include "overlay/xor_band_runs.h"

namespace ostrel {

// The run of frameTrajectoryList entries the last trajectory layer drew, and the picture
// rectangle it drew them through, so that drawing them again lands on the same pixels.
// It refers into the TrackStore by position: forget it whenever the store is emptied or
// reloaded. drawnCount 0 means nothing is remembered.
struct DrawnTrajectoryList {
  std::int32_t first = 0;
  std::int32_t drawnCount = 0;
  VideoRect videoRect;

  bool operator==(const DrawnTrajectoryList&) const = default;
};

// Everything the live overlay keeps between redraws. One lives in the main window's state.
//
// The overlay as the window shows it is an exclusive-or mask the size of the client area,
// Format_RGB32, whose colour bits all start at zero (opaque black): Surface. The picture on
// screen is the video frame exclusive-or the mask, so an all-zero mask shows the frame
// unchanged and drawing anything twice gives the mask back exactly.
//
// The PointLayer holds the points of the last point-layer drawing, white on black (RGB32
// with only those two values, so that white inverts all 24 colour bits of the mask); it is
// null until the first point-layer drawing with a current frame, which makes it the size of
// the client area at that moment. `pointSpans` covers its white pixels, each once, and
// nothing else.
//
// `trajectoryPixels` is what drawing the remembered run combines into the mask: combining
// it again is drawing the run again, which takes it away.
//
// The mask is therefore exactly the point spans in white combined with the trajectory
// pixels. The viewer shows it from those alone, so a redraw works out nothing else: the two
// images are brought up to date only when somebody asks for them (Surface, PointLayer),
// and where the mask holds drawing only when asked (OverlayTiles).
struct OverlayState {
  OverlayPens pens;
  std::vector<PixelSpan> pointSpans;
  DrawnTrajectoryList drawn;
  SeenPixels seenPixels;  // the trajectory layer's, kept from redraw to redraw
  XorRecord trajectoryPixels;  // what drawing `drawn` combines into the mask
  KeptTrailStrokes keptTrails;  // the trails of `drawn`, to bring up to date at the next redraw
  XorBandRuns trajectoryRuns;          // the same in bands of rows, for showing
  bool trajectoryRunsCurrent = true;   // built since the pixels were drawn
  std::optional<TileMarks> tiles;      // OverlayTiles' answer until the next redraw

  // The images as last brought up to date; read them through Surface and PointLayer. Each
  // holds either the current drawing of a layer or, when its flag says not, the older one
  // beside it. A redraw hands the drawing it replaces over to the mask rather than copying
  // it: a render brings the mask up to date at every frame.
  QImage maskImage;
  bool maskHoldsPoints = true;
  std::vector<PixelSpan> maskSpans;
  bool maskHoldsTrajectories = true;
  XorRecord maskPixels;
  QImage pointImage;
  bool pointImageHoldsPoints = true;
  std::vector<PixelSpan> pointImageSpans;
};

// The mask, brought up to date with the last redraw.
const QImage& Surface(OverlayState& overlay);
// The point layer, brought up to date with the last redraw; null until the first
// point-layer drawing with a current frame.
const QImage& PointLayer(OverlayState& overlay);

// Creates the pens and an empty overlay for a client area of `clientArea`.
std::unique_ptr<OverlayState> CreateOverlayResources(QSize clientArea);
// Releases the pens, the point layer and the overlay; does nothing when already released.
void DeleteOverlayResources(std::unique_ptr<OverlayState>& overlay);

// Forgets what was drawn: the mask is cleared, the point layer dropped and the remembered
// trajectories forgotten, none of them drawn. Call it whenever the TrackStore is emptied or
// reloaded: the remembered run must never be drawn from entries that changed under it.
void ForgetOverlay(OverlayState& overlay);

// The client area changed size: the overlay is forgotten and the mask made anew at the new
// size; the next point-layer drawing makes the layer at that size.
void ResizeOverlay(OverlayState& overlay, QSize clientArea);

// The tiles of the mask that hold the point discs and the trajectory pixels: outside them
// every pixel of the mask is black. Worked out at the first call after a redraw.
const TileMarks& OverlayTiles(OverlayState& overlay);

// A mask of `size` with nothing drawn.
QImage MakeClearSurface(QSize size);

}  // namespace ostrel
