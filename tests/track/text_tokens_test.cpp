#include "track/text_tokens.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(TextTokens, SplitsLikeStrtokWithADelimiterSetPerCall) {
  TextTokens tokens("  TIMEADJ\t-\t0:70:0:0");
  EXPECT_EQ(tokens.Next(" ,\t"), "TIMEADJ");
  EXPECT_EQ(tokens.Next(" \t:"), "-");
  EXPECT_EQ(tokens.Next(" \t:"), "0");
  EXPECT_EQ(tokens.Next(":"), "70");
  EXPECT_EQ(tokens.Next(":"), "0");
  EXPECT_EQ(tokens.Next(":"), "0");
  EXPECT_FALSE(tokens.exhausted());
  EXPECT_EQ(tokens.Next(":"), "");
  EXPECT_TRUE(tokens.exhausted());
}

TEST(TextTokens, UsesUpTheDelimiterThatEndsAToken) {
  // The colon after "a" is consumed, so a following call for spaces starts at ":b".
  TextTokens tokens("a::b c");
  EXPECT_EQ(tokens.Next(":"), "a");
  EXPECT_EQ(tokens.Next(" "), ":b");
  EXPECT_EQ(tokens.Next(" "), "c");
}

TEST(StartsWithNoCase, ComparesOverTheKeywordLength) {
  EXPECT_TRUE(StartsWithNoCase("TrAjEcToRy 3", "trajectory"));
  EXPECT_TRUE(StartsWithNoCase("frame=12", "FRAME="));
  EXPECT_FALSE(StartsWithNoCase(" frame=12", "frame="));
  EXPECT_FALSE(StartsWithNoCase("fram", "frame="));
}

}  // namespace
}  // namespace ostrel
