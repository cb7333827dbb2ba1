#pragma once

#include <array>

#include "app/command_ids.h"

namespace ostrel {

enum class ControlKind { PushButton, CheckBox, Trackbar };

// One control of the bar: its place and size in dialog units, its caption and whether it
// accepts input when the bar is made (the bar as a whole starts disabled all the same).
struct BarControl {
  int id = 0;
  ControlKind kind = ControlKind::PushButton;
  const char* caption = "";  // UTF-8
  bool enabled = true;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline constexpr int kControlBarWidthUnits = 494;
inline constexpr int kControlBarHeightUnits = 43;
// The bar's text size; its dialog units follow from this font.
inline constexpr int kControlBarPointSize = 8;

// In creation order, which is also the order focus moves in.
inline constexpr std::array<BarControl, 12> kControlBarControls{{
    {kControlStop, ControlKind::PushButton, "■", true, 38, 20, 17, 13},
    {kControlPlay, ControlKind::PushButton, ">", true, 66, 20, 17, 13},
    {kControlRewind, ControlKind::PushButton, "<<", true, 10, 20, 17, 13},
    {kControlTrackbar, ControlKind::Trackbar, "", true, 7, 7, 479, 8},
    {kControlCapture, ControlKind::PushButton, "Capture", false, 211, 20, 50, 14},
    {kControlGrabber, ControlKind::CheckBox, "Grabber", true, 164, 20, 42, 15},
    {kControlTimeAdjust, ControlKind::CheckBox, "AVI時刻調整", true, 297, 20, 66, 15},
    {kControlOffsetEarlier, ControlKind::PushButton, "<", false, 366, 21, 17, 13},
    {kControlOffsetLater, ControlKind::PushButton, ">", false, 394, 21, 17, 13},
    {kControlFrameTime, ControlKind::PushButton, "フレーム時刻", true, 433, 20, 50, 14},
    {kControlPlus, ControlKind::PushButton, "＋", false, 94, 20, 17, 13},
    {kControlMinus, ControlKind::PushButton, "－", false, 122, 20, 17, 13},
}};

}  // namespace ostrel
