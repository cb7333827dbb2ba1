#pragma once

namespace ostrel {

// Every command, button and slider of the viewer is known by a number, and the main
// window's dispatch speaks only in these numbers: the menu, the accelerators and the
// control bar all arrive at the same table.
inline constexpr int kCommandAccelerator = 10;  // Alt+"?" and Alt+"/": consumed, no handler
inline constexpr int kCommandExit = 11;
inline constexpr int kCommandOpenVideo = 12;

// Controls of the control bar.
inline constexpr int kControlStop = 1001;           // "■"
inline constexpr int kControlPlay = 1002;           // ">"
inline constexpr int kControlRewind = 1003;         // "<<"
inline constexpr int kControlOffsetEarlier = 1004;  // "<": the overlays show later frames
inline constexpr int kControlOffsetLater = 1005;    // ">": the overlays show earlier frames
inline constexpr int kControlTrackbar = 1006;
inline constexpr int kControlPlus = 1007;           // "＋": never enabled
inline constexpr int kControlGrabber = 1008;        // check box
inline constexpr int kControlCapture = 1009;
inline constexpr int kControlTimeAdjust = 1010;     // check box "AVI時刻調整"
inline constexpr int kControlFrameTime = 1011;
inline constexpr int kControlMinus = 1012;          // "－": never enabled

}  // namespace ostrel
