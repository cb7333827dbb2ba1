#include "video/capture_control.h"

#include <cstdint>
#include <vector>

#include "overlay/frame_capture.h"

namespace ostrel {

void ToggleGrabber(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.frameGrabber) return;
  const bool checked = ui.GrabberChecked();
  state.graph->SetBufferSamples(checked);
  ui.SetCaptureEnabled(checked);
}

void CaptureFrame(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.frameGrabber || !state.GrabberFormat || !state.overlay) return;
  // Without a buffered frame the pixels stay empty: "1.bmp" then holds the headers alone,
  // and the snapshot reports the picture as incomplete rather than inventing one.
  std::vector<std::uint8_t> pixels;
  if (!state.graph->GetCurrentBuffer(pixels)) pixels.clear();
  SnapshotTarget target{state.WorkingFolder, state.snapshotCounter, ui.Messages()};
  ostrel::CaptureFrame(*state.GrabberFormat, pixels, OverlayScene{state.trackStore, state.videoRect},
                       state.overlay->pens, target);
}

}  // namespace ostrel
