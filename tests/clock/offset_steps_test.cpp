// The offset steps of the arrow keys and the "<" and ">" buttons.
#include <gtest/gtest.h>

#include <climits>

#include "clock/offset_steps.h"
#include "clock/time_adjust_log.h"
#include "tests/clock/read_file_bytes.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace ostrel {
namespace {

struct StepCase {
  OffsetTrigger trigger;
  bool shift;
  ClockOffset after;  // from {35'892'040, -1500}
};

TEST(OffsetSteps, EachTriggerMovesByItsAmount) {
  constexpr ClockOffset kBefore{35'892'040, -1500};
  const StepCase cases[] = {
      {OffsetTrigger::LeftArrowKey, false, {35'892'140, -1500}},
      {OffsetTrigger::LeftArrowKey, true, {35'902'040, -1500}},
      {OffsetTrigger::RightArrowKey, false, {35'891'940, -1500}},
      {OffsetTrigger::RightArrowKey, true, {35'882'040, -1500}},
      {OffsetTrigger::LeftButton, false, {35'892'140, -1400}},
      {OffsetTrigger::LeftButton, true, {35'893'040, -500}},
      {OffsetTrigger::RightButton, false, {35'891'940, -1600}},
      {OffsetTrigger::RightButton, true, {35'891'040, -2500}},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.trigger) * 2 + (c.shift ? 1 : 0));
    ClockOffset offset = kBefore;
    ApplyOffsetStep(offset, c.trigger, c.shift);
    EXPECT_EQ(offset, c.after);
    const OffsetStep step = OffsetStepFor(c.trigger, c.shift);
    EXPECT_EQ(step.startMs, c.after.startMs - kBefore.startMs);
    EXPECT_EQ(step.adjustMs, c.after.adjustMs - kBefore.adjustMs);
  }
}

TEST(OffsetSteps, SumsWrapAroundAtTheEndsOf32Bits) {
  struct WrapCase {
    ClockOffset before;
    OffsetTrigger trigger;
    bool shift;
    ClockOffset after;
  };
  const WrapCase cases[] = {
      {{INT32_MAX, INT32_MAX}, OffsetTrigger::LeftButton, false, {INT32_MIN + 99, INT32_MIN + 99}},
      {{INT32_MIN, INT32_MIN}, OffsetTrigger::RightButton, true, {INT32_MAX - 999, INT32_MAX - 999}},
      {{INT32_MAX - 5, 0}, OffsetTrigger::LeftArrowKey, true, {INT32_MIN + 9994, 0}},
      {{INT32_MIN + 50, 3}, OffsetTrigger::RightArrowKey, false, {INT32_MAX - 49, 3}},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(c.before.startMs);
    ClockOffset offset = c.before;
    ApplyOffsetStep(offset, c.trigger, c.shift);
    EXPECT_EQ(offset, c.after);
  }
}

TEST(OffsetSteps, ArrowKeysLeaveTheCorrectionAlone) {
  ClockOffset offset{1000, 250};
  for (int i = 0; i < 3; ++i) ApplyOffsetStep(offset, OffsetTrigger::LeftArrowKey, false);
  EXPECT_EQ(offset, (ClockOffset{1300, 250}));
  ApplyOffsetStep(offset, OffsetTrigger::RightArrowKey, true);
  EXPECT_EQ(offset, (ClockOffset{-8700, 250}));
}

TEST(OffsetSteps, AButtonSessionAddsItsTotalToBothAndToTimeAdjustLog) {
  // The correction read from the log (-1500) plus "<" twice with Shift and ">" once.
  ClockOffset offset{35'890'540, -1500};
  ApplyOffsetStep(offset, OffsetTrigger::LeftButton, true);
  ApplyOffsetStep(offset, OffsetTrigger::LeftButton, true);
  ApplyOffsetStep(offset, OffsetTrigger::RightButton, false);
  EXPECT_EQ(offset, (ClockOffset{35'892'440, 400}));

  const testing::TempFolder folder;
  testing::RecordingMessages messages;
  ASSERT_TRUE(WriteTimeAdjustLog(offset, folder.path().string(), messages));
  EXPECT_EQ(testing::ReadFileBytes(folder.path() / "timeadj.log"), "TIMEADJ\t+\t0:0:0:400\r\n");
}

}  // namespace
}  // namespace ostrel
