#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "video/playback_graph.h"
#include "video/playback_state.h"
#include "video/playback_ui.h"

namespace ostrel::testing {

// One line per call that reached the graph or the user interface, in the order they came.
using CallLog = std::vector<std::string>;

// A graph whose answers a test sets: positions, run state, events and which calls fail.
// Every call it receives is written to the shared log under the graph's name.
class ScriptedGraph : public PlaybackGraph {
 public:
  ScriptedGraph(std::string name, CallLog& log) : name_(std::move(name)), log_(log) {}
  ~ScriptedGraph() override;

  bool RenderFile(const std::string& path) override;
  bool Run() override;
  bool Stop() override;
  GraphState GetState() const override { return state; }
  bool GetPositions(ReferenceTime& current, ReferenceTime& stop) const override;
  bool SetPositions(ReferenceTime current) override;
  bool GetVideoSize(std::int32_t& width, std::int32_t& height) const override;
  std::optional<BitmapInfoHeader> GetConnectedMediaType() const override;
  void SetBufferSamples(bool buffer) override;
  bool GetCurrentBuffer(std::vector<std::uint8_t>&) const override { return false; }
  std::optional<GraphEvent> GetEvent() override;
  const QImage& CurrentFrame() const override { return frame_; }

  bool renderSucceeds = true;
  bool runSucceeds = true;
  bool sizeSucceeds = true;
  bool positionsSucceed = true;
  ReferenceTime position = 0;
  ReferenceTime stopPosition = 600'000'000;  // 60 s
  std::int32_t width = 640;
  std::int32_t height = 480;
  GraphState state = GraphState::Stopped;
  bool buffering = false;
  std::deque<GraphEvent> events;
  int eventsRead = 0;

 private:
  void Note(const std::string& call) const { log_.push_back(name_ + "." + call); }

  std::string name_;
  CallLog& log_;
  QImage frame_;
};

// Records what reaches the user interface, and answers as a test sets it.
class ScriptedUi : public PlaybackUi, public MessageSink {
 public:
  explicit ScriptedUi(CallLog& log) : log_(log) {}

  MessageSink& Messages() override { return *this; }
  void Show(const UserMessage& message) override;
  std::optional<std::string> ChooseVideoFile(const std::string& folder) override;
  void SetControlBarEnabled(bool enabled) override;
  bool GrabberChecked() override { return grabberChecked; }
  void SetGrabberChecked(bool checked) override;
  void SetCaptureEnabled(bool enabled) override;
  bool TimeAdjustChecked() override { return timeAdjustChecked; }
  void SetOffsetButtonsEnabled(bool enabled) override;
  int TrackbarPosition() override { return trackbar; }
  void SetTrackbarPosition(int percent) override;
  void StartPlaybackTimer() override;
  void AttachVideoWindow(PlaybackGraph& graph) override;
  void PlaceVideoWindow(const VideoRect& place) override;
  void DetachVideoWindow() override;
  void ConnectGraphEvents(PlaybackGraph& graph) override;
  ClientSize ClientAreaSize() override { return client; }
  int ControlBarHeight() override { return barHeight; }
  void Relayout() override;
  void RedrawOverlays(bool inSync) override;

  std::optional<std::string> chosenFile;
  std::vector<std::string> foldersOffered;
  std::vector<UserMessage> messages;
  std::vector<bool> redraws;
  bool barEnabled = false;
  bool grabberChecked = true;
  bool captureEnabled = true;
  bool timeAdjustChecked = false;
  bool offsetButtonsEnabled = false;
  bool timerRunning = false;
  int trackbar = 0;
  ClientSize client{800, 556};
  int barHeight = 80;

 private:
  CallLog& log_;
};

// Makes the graphs of successive Opens, named "g1", "g2", ...; `configure` may script each.
class GraphMaker {
 public:
  explicit GraphMaker(CallLog& log) : log_(log) {}
  GraphFactory Factory();

  std::vector<ScriptedGraph*> made;  // alive only while the state holds them
  bool fails = false;
  std::function<void(ScriptedGraph&)> configure;

 private:
  CallLog& log_;
};

}  // namespace ostrel::testing
