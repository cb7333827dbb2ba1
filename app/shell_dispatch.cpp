#include "app/shell_dispatch.h"

#include <Qt>

#include "app/command_ids.h"

namespace ostrel {

void DispatchCommand(int id, bool shift, ShellHandlers& handlers) {
  switch (id) {
    case kCommandExit: return handlers.ExitViewer();
    case kCommandOpenVideo: return handlers.OpenVideo();
    case kControlStop: return handlers.StopPlayback();
    case kControlPlay: return handlers.StartPlayback();
    case kControlRewind: return handlers.RewindToStart();
    case kControlOffsetEarlier: return handlers.StepOffset(OffsetTrigger::LeftButton, shift);
    case kControlOffsetLater: return handlers.StepOffset(OffsetTrigger::RightButton, shift);
    case kControlGrabber: return handlers.ToggleGrabber();
    case kControlCapture: return handlers.CaptureFrame();
    case kControlTimeAdjust: return handlers.ToggleTimeAdjustment();
    case kControlFrameTime: return handlers.ShowFrameTime();
    default: return handlers.IgnoreCommand(id);
  }
}

void DispatchKey(int key, bool shift, ShellHandlers& handlers) {
  if (key == Qt::Key_Left) return handlers.StepOffset(OffsetTrigger::LeftArrowKey, shift);
  if (key == Qt::Key_Right) return handlers.StepOffset(OffsetTrigger::RightArrowKey, shift);
}

}  // namespace ostrel
