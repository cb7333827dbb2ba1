#pragma once

#include <string>
#include <vector>

#include "app/shell_handlers.h"

namespace ostrel::testing {

// Notes which handler the dispatch reached, with its arguments, instead of acting.
class RecordingHandlers : public ShellHandlers {
 public:
  void ExitViewer() override { calls.push_back("ExitViewer"); }
  void OpenVideo() override { calls.push_back("OpenVideo"); }
  void StopPlayback() override { calls.push_back("StopPlayback"); }
  void StartPlayback() override { calls.push_back("StartPlayback"); }
  void RewindToStart() override { calls.push_back("RewindToStart"); }
  void StepOffset(OffsetTrigger trigger, bool shift) override;
  void ToggleGrabber() override { calls.push_back("ToggleGrabber"); }
  void CaptureFrame() override { calls.push_back("CaptureFrame"); }
  void ToggleTimeAdjustment() override { calls.push_back("ToggleTimeAdjustment"); }
  void ShowFrameTime() override { calls.push_back("ShowFrameTime"); }
  void PlaybackTick() override { calls.push_back("PlaybackTick"); }
  void SeekFromTrackbar() override { calls.push_back("SeekFromTrackbar"); }
  void DrainGraphEvents() override { calls.push_back("DrainGraphEvents"); }
  void IgnoreCommand(int id) override { calls.push_back("IgnoreCommand " + std::to_string(id)); }

  std::vector<std::string> calls;
};

inline void RecordingHandlers::StepOffset(OffsetTrigger trigger, bool shift) {
  const char* names[] = {"LeftArrowKey", "RightArrowKey", "LeftButton", "RightButton"};
  calls.push_back(std::string("StepOffset ") + names[static_cast<int>(trigger)] +
                  (shift ? " shift" : ""));
}

}  // namespace ostrel::testing
