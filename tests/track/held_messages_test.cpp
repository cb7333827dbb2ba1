#include "track/held_messages.h"

#include <gtest/gtest.h>

#include "tests/support/recording_messages.h"

namespace ostrel {
namespace {

TEST(HeldMessages, ShowsWhatItHeldInOrderOnce) {
  HeldMessages held;
  held.Show({"first", "Error"});
  held.Show({"second", "Error", MessageOwner::MainWindow});
  testing::RecordingMessages sink;
  EXPECT_TRUE(sink.shown.empty());
  held.ShowTo(sink);
  const std::vector<UserMessage> expected = {{"first", "Error"},
                                             {"second", "Error", MessageOwner::MainWindow}};
  EXPECT_EQ(sink.shown, expected);
  held.ShowTo(sink);
  EXPECT_EQ(sink.shown, expected);
}

}  // namespace
}  // namespace ostrel
