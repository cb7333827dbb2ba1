#include "tests/video/scripted_playback.h"

namespace ostrel::testing {
namespace {

std::string Flag(bool value) { return value ? "1" : "0"; }

}  // namespace

ScriptedGraph::~ScriptedGraph() { Note("released"); }

bool ScriptedGraph::RenderFile(const std::string& path) {
  Note("RenderFile " + path);
  return renderSucceeds;
}

bool ScriptedGraph::Run() {
  Note("Run");
  if (runSucceeds) state = GraphState::Running;
  return runSucceeds;
}

bool ScriptedGraph::Stop() {
  Note("Stop");
  state = GraphState::Paused;
  return true;
}

bool ScriptedGraph::GetPositions(ReferenceTime& current, ReferenceTime& stop) const {
  if (!positionsSucceed) return false;
  current = position;
  stop = stopPosition;
  return true;
}

bool ScriptedGraph::SetPositions(ReferenceTime current) {
  Note("SetPositions " + std::to_string(current));
  position = current;
  return true;
}

bool ScriptedGraph::GetVideoSize(std::int32_t& w, std::int32_t& h) const {
  Note("GetVideoSize");
  if (!sizeSucceeds) return false;
  w = width;
  h = height;
  return true;
}

std::optional<BitmapInfoHeader> ScriptedGraph::GetConnectedMediaType() const {
  Note("GetConnectedMediaType");
  BitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  return header;
}

void ScriptedGraph::SetBufferSamples(bool buffer) {
  Note("SetBufferSamples " + Flag(buffer));
  buffering = buffer;
}

std::optional<GraphEvent> ScriptedGraph::GetEvent() {
  if (events.empty()) return std::nullopt;
  GraphEvent event = events.front();
  events.pop_front();
  ++eventsRead;
  return event;
}

void ScriptedUi::Show(const UserMessage& message) {
  messages.push_back(message);
  log_.push_back("message " + message.text);
}

std::optional<std::string> ScriptedUi::ChooseVideoFile(const std::string& folder) {
  log_.push_back("ChooseVideoFile");
  foldersOffered.push_back(folder);
  return chosenFile;
}

void ScriptedUi::SetControlBarEnabled(bool enabled) {
  log_.push_back("SetControlBarEnabled " + Flag(enabled));
  barEnabled = enabled;
}

void ScriptedUi::SetGrabberChecked(bool checked) {
  log_.push_back("SetGrabberChecked " + Flag(checked));
  grabberChecked = checked;
}

void ScriptedUi::SetCaptureEnabled(bool enabled) {
  log_.push_back("SetCaptureEnabled " + Flag(enabled));
  captureEnabled = enabled;
}

void ScriptedUi::SetOffsetButtonsEnabled(bool enabled) {
  log_.push_back("SetOffsetButtonsEnabled " + Flag(enabled));
  offsetButtonsEnabled = enabled;
}

void ScriptedUi::SetTrackbarPosition(int percent) {
  log_.push_back("SetTrackbarPosition " + std::to_string(percent));
  trackbar = percent;
}

void ScriptedUi::StartPlaybackTimer() {
  log_.push_back("StartPlaybackTimer");
  timerRunning = true;
}

void ScriptedUi::AttachVideoWindow(PlaybackGraph&) { log_.push_back("AttachVideoWindow"); }

void ScriptedUi::PlaceVideoWindow(const VideoRect& place) {
  log_.push_back("PlaceVideoWindow " + std::to_string(place.left) + "," + std::to_string(place.top) +
                 "," + std::to_string(place.width) + "," + std::to_string(place.height));
}

void ScriptedUi::DetachVideoWindow() { log_.push_back("DetachVideoWindow"); }

void ScriptedUi::ConnectGraphEvents(PlaybackGraph&) { log_.push_back("ConnectGraphEvents"); }

void ScriptedUi::Relayout() { log_.push_back("Relayout"); }

void ScriptedUi::RedrawOverlays(bool inSync) {
  log_.push_back("RedrawOverlays " + Flag(inSync));
  redraws.push_back(inSync);
}

GraphFactory GraphMaker::Factory() {
  return [this]() -> std::unique_ptr<PlaybackGraph> {
    log_.push_back("create graph");
    if (fails) return nullptr;
    auto graph = std::make_unique<ScriptedGraph>("g" + std::to_string(made.size() + 1), log_);
    if (configure) configure(*graph);
    made.push_back(graph.get());
    return graph;
  };
}

}  // namespace ostrel::testing
