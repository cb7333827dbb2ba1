#include "app/shell_dispatch.h"

#include <gtest/gtest.h>

#include <Qt>

#include "tests/app/recording_handlers.h"

namespace ostrel {
namespace {

using testing::RecordingHandlers;

struct CommandCase {
  int id;
  bool shift;
  const char* handler;
};

// Every row of the command table, and the commands that have no handler.
const CommandCase kCommandCases[] = {
    {11, false, "ExitViewer"},
    {12, false, "OpenVideo"},
    {1001, false, "StopPlayback"},
    {1002, false, "StartPlayback"},
    {1003, false, "RewindToStart"},
    {1004, false, "StepOffset LeftButton"},
    {1004, true, "StepOffset LeftButton shift"},
    {1005, false, "StepOffset RightButton"},
    {1005, true, "StepOffset RightButton shift"},
    {1008, false, "ToggleGrabber"},
    {1009, false, "CaptureFrame"},
    {1010, false, "ToggleTimeAdjustment"},
    {1011, false, "ShowFrameTime"},
    {10, false, "IgnoreCommand 10"},
    {1006, false, "IgnoreCommand 1006"},
    {1007, false, "IgnoreCommand 1007"},
    {1012, false, "IgnoreCommand 1012"},
    {0, false, "IgnoreCommand 0"},
    {1013, false, "IgnoreCommand 1013"},
};

TEST(ShellDispatchTest, EachCommandReachesItsHandlerOnce) {
  for (const CommandCase& entry : kCommandCases) {
    RecordingHandlers handlers;
    DispatchCommand(entry.id, entry.shift, handlers);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{entry.handler})
        << "command " << entry.id << (entry.shift ? " with Shift" : "");
  }
}

TEST(ShellDispatchTest, ShiftMattersOnlyToTheOffsetButtons) {
  for (const int id : {11, 12, 1001, 1002, 1003, 1008, 1009, 1010, 1011, 10}) {
    RecordingHandlers plain;
    RecordingHandlers shifted;
    DispatchCommand(id, false, plain);
    DispatchCommand(id, true, shifted);
    EXPECT_EQ(plain.calls, shifted.calls) << "command " << id;
  }
}

struct KeyCase {
  int key;
  bool shift;
  std::vector<std::string> calls;
};

TEST(ShellDispatchTest, ArrowKeysStepTheOffsetAndOtherKeysDoNothing) {
  const KeyCase cases[] = {
      {Qt::Key_Left, false, {"StepOffset LeftArrowKey"}},
      {Qt::Key_Left, true, {"StepOffset LeftArrowKey shift"}},
      {Qt::Key_Right, false, {"StepOffset RightArrowKey"}},
      {Qt::Key_Right, true, {"StepOffset RightArrowKey shift"}},
      {Qt::Key_Up, false, {}},
      {Qt::Key_Down, true, {}},
      {Qt::Key_A, false, {}},
      {Qt::Key_Space, false, {}},
      {Qt::Key_Shift, true, {}},
  };
  for (const KeyCase& entry : cases) {
    RecordingHandlers handlers;
    DispatchKey(entry.key, entry.shift, handlers);
    EXPECT_EQ(handlers.calls, entry.calls) << "key " << entry.key << (entry.shift ? " with Shift" : "");
  }
}

}  // namespace
}  // namespace ostrel
