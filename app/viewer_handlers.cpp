#include "app/viewer_handlers.h"

#include "app/main_window.h"

namespace ostrel {

void ViewerHandlers::ExitViewer() { window_.close(); }

// Opening, playing, seeking, the offset steps, the time-adjust box, grabbing and the frame
// time all need an open video, which the viewer cannot open yet: these handlers are wired
// into the dispatch and stay empty until the operations behind them arrive. With no video
// open every one of them has nothing to act on, so for now they rightly change nothing.
void ViewerHandlers::OpenVideo() {}
void ViewerHandlers::StopPlayback() {}
void ViewerHandlers::StartPlayback() {}
void ViewerHandlers::RewindToStart() {}
void ViewerHandlers::StepOffset(OffsetTrigger, bool) {}
void ViewerHandlers::ToggleGrabber() {}
void ViewerHandlers::CaptureFrame() {}
void ViewerHandlers::ToggleTimeAdjustment() {}
void ViewerHandlers::ShowFrameTime() {}
void ViewerHandlers::PlaybackTick() {}
void ViewerHandlers::SeekFromTrackbar() {}
void ViewerHandlers::DrainGraphEvents() {}

void ViewerHandlers::IgnoreCommand(int) {}

std::unique_ptr<ShellHandlers> MakeViewerHandlers(MainWindow& window) {
  return std::make_unique<ViewerHandlers>(window);
}

}  // namespace ostrel
