#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/video/playback_fixture.h"
#include "video/offset_controls.h"

namespace ostrel::testing {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class OffsetControlsTest : public PlaybackTest {
 protected:
  void OpenWithCorrection(char sign, LogTime correction) {
    const std::string video = Camera({0, 100, 200, 300});
    WriteTimeLog(folder.File("cam07_.log"),
                 {CorrectionLine{sign, correction}, VideoLine{"cam07_012", LogTime{10, 0, 0, 0}}});
    OpenQuietly(video);
  }
};

struct StepCase {
  OffsetTrigger trigger;
  bool shift;
  std::int32_t startMs;
  std::int32_t adjustMs;
};

TEST_F(OffsetControlsTest, EachPressStepsTheOffsetByItsAmountAndRedrawsAtOnce) {
  OpenWithCorrection('+', LogTime{});
  const StepCase cases[] = {
      {OffsetTrigger::LeftArrowKey, false, 100, 0},    {OffsetTrigger::LeftArrowKey, true, 10000, 0},
      {OffsetTrigger::RightArrowKey, false, -100, 0},  {OffsetTrigger::RightArrowKey, true, -10000, 0},
      {OffsetTrigger::LeftButton, false, 100, 100},    {OffsetTrigger::LeftButton, true, 1000, 1000},
      {OffsetTrigger::RightButton, false, -100, -100}, {OffsetTrigger::RightButton, true, -1000, -1000},
  };
  for (const StepCase& c : cases) {
    const ClockOffset before = state.clockOffset;
    ui.redraws.clear();
    StepClockOffset(state, ui, c.trigger, c.shift);
    EXPECT_EQ(state.clockOffset.startMs - before.startMs, c.startMs) << static_cast<int>(c.trigger) << c.shift;
    EXPECT_EQ(state.clockOffset.adjustMs - before.adjustMs, c.adjustMs) << static_cast<int>(c.trigger) << c.shift;
    EXPECT_EQ(ui.redraws.size(), 1u);
  }
}

TEST_F(OffsetControlsTest, AStepMovesTheFrameShownForTheSamePicture) {
  OpenWithCorrection('+', LogTime{});
  Graph().position = 1'000'000;  // 100 ms
  StepClockOffset(state, ui, OffsetTrigger::LeftArrowKey, false);
  EXPECT_EQ(state.trackStore.CurrentSlot, 2) << "the left arrow shows later frames";
  StepClockOffset(state, ui, OffsetTrigger::RightButton, false);
  StepClockOffset(state, ui, OffsetTrigger::RightButton, false);
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
}

TEST_F(OffsetControlsTest, BeforeAnyVideoIsOpenAPressChangesNothing) {
  for (const OffsetTrigger trigger : {OffsetTrigger::LeftArrowKey, OffsetTrigger::RightArrowKey,
                                      OffsetTrigger::LeftButton, OffsetTrigger::RightButton}) {
    StepClockOffset(state, ui, trigger, true);
  }
  EXPECT_EQ(state.clockOffset, (ClockOffset{0, 0}));
  EXPECT_TRUE(log.empty());
}

TEST_F(OffsetControlsTest, TheBoxEnablesTheButtonsAndClearingItWritesTheCorrection) {
  OpenWithCorrection('-', LogTime{0, 0, 1, 500});
  ASSERT_EQ(state.clockOffset, (ClockOffset{kVideoStartMs - 1500, -1500}));
  ui.timeAdjustChecked = true;
  ToggleTimeAdjustment(state, ui);
  EXPECT_TRUE(ui.offsetButtonsEnabled);
  EXPECT_FALSE(std::filesystem::exists(folder.File("timeadj.log"))) << "ticking writes nothing";
  StepClockOffset(state, ui, OffsetTrigger::LeftButton, true);
  StepClockOffset(state, ui, OffsetTrigger::LeftButton, true);
  StepClockOffset(state, ui, OffsetTrigger::RightButton, false);
  EXPECT_EQ(state.clockOffset, (ClockOffset{kVideoStartMs - 1500 + 1900, -1500 + 1900}));
  ui.timeAdjustChecked = false;
  ToggleTimeAdjustment(state, ui);
  EXPECT_FALSE(ui.offsetButtonsEnabled);
  EXPECT_EQ(FileText(folder.File("timeadj.log")), "TIMEADJ\t+\t0:0:0:400\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OffsetControlsTest, EachClearingOverwritesTheLogWithTheCorrectionThen) {
  OpenWithCorrection('+', LogTime{});
  for (const auto& [trigger, expected] :
       {std::pair{OffsetTrigger::RightButton, "TIMEADJ\t-\t0:0:1:0\r\n"},
        std::pair{OffsetTrigger::LeftButton, "TIMEADJ\t+\t0:0:0:0\r\n"}}) {
    ui.timeAdjustChecked = true;
    ToggleTimeAdjustment(state, ui);
    StepClockOffset(state, ui, trigger, true);
    ui.timeAdjustChecked = false;
    ToggleTimeAdjustment(state, ui);
    EXPECT_EQ(FileText(folder.File("timeadj.log")), expected);
  }
}

}  // namespace
}  // namespace ostrel::testing
