#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "tests/video/playback_fixture.h"
#include "track/frame_lookup.h"
#include "track/point_file.h"
#include "video/open_video_messages.h"

namespace ostrel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

const CallLog kBarReset = {"SetControlBarEnabled 0", "SetGrabberChecked 0", "SetCaptureEnabled 0",
                           "ChooseVideoFile"};

CallLog Concat(CallLog head, const CallLog& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

UserMessage GraphError(std::string_view text) {
  return UserMessage{std::string(text), std::string(kGraphErrorCaption), MessageOwner::MainWindow};
}

class OpenVideoTest : public PlaybackTest {};

TEST_F(OpenVideoTest, RunsItsStepsInOrderAndLeavesAPlayingVideo) {
  const std::string video = Camera({0, 100, 200});
  ui.chosenFile = video;
  OpenVideo(state, ui);
  EXPECT_EQ(log, Concat(kBarReset, {"first.Stop", "first.released", "create graph",
                                    "g1.RenderFile " + video, "g1.GetConnectedMediaType",
                                    "g1.SetBufferSamples 1", "AttachVideoWindow", "g1.GetVideoSize",
                                    "PlaceVideoWindow 0,0,800,476", "ConnectGraphEvents", "g1.Run",
                                    "SetControlBarEnabled 1", "StartPlaybackTimer", "Relayout"}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.foldersOffered, std::vector<std::string>{"/start"});
  EXPECT_EQ(state.WorkingFolder, folder.path().string());
  EXPECT_EQ(state.clockOffset, (ClockOffset{kVideoStartMs, 0}));
  EXPECT_EQ(state.trackStore.pointFrames.size(), 3u);
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
  EXPECT_EQ(state.videoSize, (VideoSize{640, 480}));
  EXPECT_EQ(state.held, (GraphReferences{true, true, true, true, true}));
  ASSERT_TRUE(state.GrabberFormat.has_value());
  EXPECT_EQ(state.GrabberFormat->biWidth, 640);
  EXPECT_TRUE(Graph().buffering);
  EXPECT_EQ(Graph().state, GraphState::Running);
  EXPECT_TRUE(ui.barEnabled);
  EXPECT_FALSE(ui.grabberChecked);
  EXPECT_FALSE(ui.captureEnabled);
  EXPECT_TRUE(ui.timerRunning);
  EXPECT_TRUE(ui.redraws.empty()) << "nothing is drawn by the Open";
}

TEST_F(OpenVideoTest, ASecondOpenReplacesEverythingOfTheFirst) {
  const std::string video = Camera({0, 100, 200});
  OpenQuietly(video);
  state.clockOffset.startMs += 5000;  // stepped while watching; the log sets it again
  FindFrameForTime(state.trackStore, kVideoStartMs + 200);
  ui.chosenFile = video;
  OpenVideo(state, ui);
  EXPECT_THAT(log, IsSupersetOf({"DetachVideoWindow", "g1.Stop", "g1.released", "g2.Run"}));
  EXPECT_LT(std::find(log.begin(), log.end(), "g1.released"), std::find(log.begin(), log.end(), "create graph"));
  EXPECT_EQ(state.graph.get(), &Graph());
  EXPECT_EQ(maker.made.size(), 2u);
  EXPECT_EQ(state.clockOffset.startMs, kVideoStartMs);
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
  EXPECT_EQ(state.held, (GraphReferences{true, true, true, true, true}));
}

TEST_F(OpenVideoTest, CancellingKeepsAPlayingVideoPlayingWithTheBarDisabled) {
  OpenQuietly(Camera({0, 100}));
  ui.chosenFile.reset();
  OpenVideo(state, ui);
  EXPECT_EQ(log, kBarReset);
  EXPECT_EQ(Graph().state, GraphState::Running);
  EXPECT_EQ(state.graph.get(), &Graph());
  EXPECT_FALSE(ui.barEnabled);
  EXPECT_FALSE(ui.grabberChecked);
  EXPECT_FALSE(ui.captureEnabled);
  EXPECT_EQ(state.WorkingFolder, folder.path().string());
}

TEST_F(OpenVideoTest, AMissingCameraLogShowsOnlyItsMessageAndChangesNothingElse) {
  OpenQuietly(Camera({0, 100}));
  FindFrameForTime(state.trackStore, kVideoStartMs + 100);
  const std::string other = folder.File("other.avi");
  WriteFileBytes(other, "");
  ui.chosenFile = other;
  OpenVideo(state, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Failed in open LOG file.");
  EXPECT_EQ(ui.messages[0].caption, folder.File("other.log"));
  EXPECT_EQ(log, Concat(kBarReset, {"message Failed in open LOG file."}));
  EXPECT_EQ(state.trackStore.pointFrames.size(), 2u);
  EXPECT_EQ(state.trackStore.CurrentSlot, 1);
  EXPECT_EQ(state.clockOffset.startMs, kVideoStartMs);
  EXPECT_EQ(Graph().state, GraphState::Running);
  EXPECT_EQ(state.held, (GraphReferences{true, true, true, true, true}));
}

struct MissingCompanion {
  const char* name;
  bool points;
  bool trajectories;
};

TEST_F(OpenVideoTest, MissingTrackingFilesAreReportedAndTheVideoStillOpens) {
  for (const MissingCompanion& missing : {MissingCompanion{"point file", false, true},
                                          MissingCompanion{"trajectory file", true, false}}) {
    SCOPED_TRACE(missing.name);
    std::filesystem::remove(folder.File("cam07_012.lpa"));
    std::filesystem::remove(folder.File("cam07_012.traj"));
    log.clear();
    ui.messages.clear();
    ui.chosenFile = Camera({0, 100}, missing.points, missing.trajectories);
    OpenVideo(state, ui);
    ASSERT_FALSE(ui.messages.empty());
    for (const UserMessage& message : ui.messages) {
      EXPECT_EQ(message.owner, MessageOwner::None) << message.text;
    }
    const auto created = std::find(log.begin(), log.end(), "create graph");
    const auto firstMessage = std::find(log.begin(), log.end(), "message " + ui.messages[0].text);
    EXPECT_LT(firstMessage, created) << "reported while loading, before the graph is built";
    EXPECT_EQ(log.back(), "Relayout");
    EXPECT_TRUE(ui.barEnabled);
    EXPECT_EQ(Graph().state, GraphState::Running);
  }
}

TEST_F(OpenVideoTest, AMissingPointFileSaysWhichFileCouldNotBeOpened) {
  ui.chosenFile = Camera({0}, false, true);
  OpenVideo(state, ui);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages[0].text, kFileOpenFailedText);
  EXPECT_EQ(state.trackStore.CurrentSlot, -1);
  EXPECT_TRUE(state.held.graphSeeking);
}

TEST_F(OpenVideoTest, FailingToRenderLeavesNoOlderVideoPlaying) {
  OpenQuietly(Camera({0, 100}));
  maker.configure = [](ScriptedGraph& graph) { graph.renderSucceeds = false; };
  ui.chosenFile = folder.File("cam07_012.avi");
  OpenVideo(state, ui);
  EXPECT_EQ(ui.messages, std::vector<UserMessage>{GraphError(kRenderFailedText)});
  EXPECT_EQ(log, Concat(kBarReset, {"DetachVideoWindow", "g1.Stop", "g1.released", "create graph",
                                    "g2.RenderFile " + folder.File("cam07_012.avi"),
                                    "message " + std::string(kRenderFailedText)}));
  EXPECT_EQ(state.held, (GraphReferences{true, false, false, false, false}));
  EXPECT_FALSE(ui.barEnabled);
  EXPECT_EQ(state.trackStore.pointFrames.size(), 2u) << "the new file's data stays loaded";
}

struct GraphFailure {
  const char* name;
  std::function<void(GraphMaker&)> script;
  std::string_view message;
  CallLog lastCalls;  // what the Open did after the first graph had gone
};

TEST_F(OpenVideoTest, EachFailingGraphStepShowsItsNumberedMessageAndEndsTheOpen) {
  const GraphFailure failures[] = {
      {"no graph", [](GraphMaker& m) { m.fails = true; }, kGraphCreateFailedText,
       {"create graph"}},
      {"no video size",
       [](GraphMaker& m) { m.configure = [](ScriptedGraph& g) { g.sizeSucceeds = false; }; },
       kVideoSizeFailedText,
       {"create graph", "g1.RenderFile VIDEO", "g1.GetConnectedMediaType", "g1.SetBufferSamples 1",
        "AttachVideoWindow", "g1.GetVideoSize"}},
  };
  for (const GraphFailure& failure : failures) {
    SCOPED_TRACE(failure.name);
    CallLog runLog;
    ScriptedUi failingUi(runLog);
    GraphMaker failingMaker(runLog);
    failure.script(failingMaker);
    PlaybackState failingState;
    failingState.graph = std::make_unique<ScriptedGraph>("first", runLog);
    failingState.createGraph = failingMaker.Factory();
    const std::string video = Camera({0});
    failingUi.chosenFile = video;
    OpenVideo(failingState, failingUi);
    CallLog expected = Concat(kBarReset, {"first.Stop", "first.released"});
    for (std::string call : failure.lastCalls) {
      if (const auto at = call.find("VIDEO"); at != std::string::npos) call.replace(at, 5, video);
      expected.push_back(call);
    }
    expected.push_back("message " + std::string(failure.message));
    EXPECT_EQ(runLog, expected);
    EXPECT_EQ(failingUi.messages, std::vector<UserMessage>{GraphError(failure.message)});
    EXPECT_FALSE(failingUi.barEnabled);
    EXPECT_FALSE(failingUi.timerRunning);
    EXPECT_FALSE(failingState.held.graphControl);
    failingState.graph.reset();
  }
}

TEST_F(OpenVideoTest, AFailingRunIsReportedYetSeekingAndTheLayoutFollow) {
  maker.configure = [](ScriptedGraph& graph) { graph.runSucceeds = false; };
  ui.chosenFile = Camera({0, 100});
  OpenVideo(state, ui);
  EXPECT_EQ(ui.messages, std::vector<UserMessage>{GraphError(kRunFailedText)});
  const CallLog tail(log.end() - 4, log.end());
  EXPECT_THAT(tail, ElementsAre("ConnectGraphEvents", "g1.Run", "message " + std::string(kRunFailedText),
                                "Relayout"));
  EXPECT_FALSE(ui.barEnabled);
  EXPECT_FALSE(ui.timerRunning);
  EXPECT_TRUE(state.held.graphSeeking);
  EXPECT_TRUE(state.held.graphControl);
  EXPECT_EQ(state.videoSize, (VideoSize{640, 480}));
}

}  // namespace
}  // namespace ostrel::testing
