#pragma once

#include "clock/offset_steps.h"

namespace ostrel {

// What the main window does for each entry of its dispatch tables. The window decides
// which entry an input reaches (shell_dispatch.h); an implementation decides what the entry
// does, and checks for itself whether the open video has what the entry needs (a running
// graph, a grabber, ...), doing nothing when it has not.
class ShellHandlers {
 public:
  virtual ~ShellHandlers() = default;

  virtual void ExitViewer() = 0;                    // command 11
  virtual void OpenVideo() = 0;                     // command 12
  virtual void StopPlayback() = 0;                  // 1001
  virtual void StartPlayback() = 0;                 // 1002
  virtual void RewindToStart() = 0;                 // 1003
  // The arrow keys and the buttons 1004 and 1005; each step is followed by a resync of the
  // overlays with the picture.
  virtual void StepOffset(OffsetTrigger trigger, bool shift) = 0;
  virtual void ToggleGrabber() = 0;                 // 1008
  virtual void CaptureFrame() = 0;                  // 1009
  virtual void ToggleTimeAdjustment() = 0;          // 1010
  virtual void ShowFrameTime() = 0;                 // 1011
  virtual void PlaybackTick() = 0;                  // every tick of the playback timer
  virtual void SeekFromTrackbar() = 0;              // the end of a slider move
  virtual void DrainGraphEvents() = 0;              // the graph has events waiting
  // A command without a handler (the accelerators' 10, the never-enabled 1007 and 1012,
  // anything unknown): it is consumed and has no effect.
  virtual void IgnoreCommand(int id) = 0;
};

}  // namespace ostrel
