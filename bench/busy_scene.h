#pragma once

#include "track/track_store.h"

namespace ostrel {

// A busy tracking scene for the overlay benchmarks: `pointCount` points scattered over each of
// kBusySlots frames and `trajectoryCount` trajectories wandering over the picture, every one
// shown in every frame with a trail through the full 51 samples and its box. Alternating the
// frames makes every redraw take away a full overlay and draw a new one, as playback does.
inline constexpr int kBusySlots = 2;
TrackStore BusyStore(int pointCount, int trajectoryCount);

// The same over `slots` frames, each showing every trajectory one sample on from the frame
// before, with steps of `stepSpread` (a fraction of the picture, the standard deviation) from
// one sample to the next: playing the frames in order moves every trail as playback does.
TrackStore BusyStore(int pointCount, int trajectoryCount, int slots, double stepSpread);

}  // namespace ostrel
