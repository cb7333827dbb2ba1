#include "track/text_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

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

// Characters one case bit away from a keyword's own: only letters may match that way.
TEST(NoCaseKeyword, AgreesWithStartsWithNoCase) {
  struct Case {
    std::string_view keyword;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {"trajectory", {"trajectory 1 0 0.5", "TRAJECTORY", "TrAjEcToRy", "trajectorY", "trajector",
                      "trajectorz 1", "tRAJECTORYxyz", " trajectory", "trajectory\n", "trajectoryy",
                      "TRAJECTORy 12345678", "\x14RAJECTORY", "traject\x0Fry"}},
      {"frame=", {"frame=20 time=7", "FRAME=20 time=7", "fRaMe=20", "frame\x1D" "20 time=7",
                  "frame=", "frame=2", "frame", " frame=20", "framex20 time=7", "FRAME=\xC0\xE0"}},
      {"X@[1", {"x@[1 and more", "X@[1", "x`{1 and more", "X`[1 and more", "x@[1"}},
      {"sixteen-letters!", {"SIXTEEN-LETTERS! and more", "sixteen-letters!", "sixteen-letters",
                            "sixteen-letters\x01 and more", "SIXTEEN\rLETTERS! and more"}},
      {"a", {"A", "a", "ab", "Abcdefghij", "b", "", "\x41" "bcdefghij", "\x61"}},
  };
  for (const Case& c : cases) {
    const NoCaseKeyword keyword(c.keyword);
    for (const std::string& text : c.texts) {
      SCOPED_TRACE(std::string(c.keyword) + " at the start of \"" + text + "\"");
      EXPECT_EQ(keyword.StartOf(text), StartsWithNoCase(text, c.keyword));
    }
  }
}

}  // namespace
}  // namespace ostrel
