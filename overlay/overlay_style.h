#pragma once

namespace ostrel {

// How tracking data is drawn into a picture: as the viewer shows it over playing video
// (exclusive-or points, trajectories only while in step), or as an annotated capture has it
// (plain colours, every trajectory of the frame).
enum class OverlayStyle { Live, Snapshot };

}  // namespace ostrel
