#pragma once

#include <cstdint>

#include "overlay/overlay_scene.h"
#include "overlay/overlay_state.h"
#include "overlay/pixel_canvas.h"

namespace ostrel {

// Samples a live trail reaches back beyond the current one.
inline constexpr std::int32_t kTrailReach = 50;
// Consecutive trail centres further apart than 400 pixels are not joined.
inline constexpr std::int64_t kLongestTrailStepSquared = 400 * 400;

// Takes away the overlay of the last redraw and draws the current frame's: its points
// always, its trajectories only when `inSync` (the frame's clock lies near the playback
// time). Without a current frame nothing changes.
void RedrawOverlays(OverlayState& overlay, const OverlayScene& scene, bool inSync);

// Transfers the point layer onto the mask (taking its points away), redraws the layer with
// the current frame's visible points as white discs, and transfers it again. Only the
// layer's discs are transferred: everywhere else it is black, which changes nothing.
void DrawPointLayer(OverlayState& overlay, const OverlayScene& scene);

// Draws the remembered trajectories again (taking them away), then, when `inSync`, draws and
// remembers the current slot's.
void DrawTrajectoryLayer(OverlayState& overlay, const OverlayScene& scene, bool inSync);

// One trajectory at one of its samples: the trail back through its earlier centres and the
// box of the current sample, with the pen of its kind; kinds other than 0, 1 and 2 keep the
// pen that is selected.
void DrawTrajectoryTrail(PixelCanvas& dc, const OverlayPens& pens, const OverlayScene& scene,
                         std::int32_t trajectory, std::int32_t sample);

}  // namespace ostrel
