#include "app/letterbox.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

struct LetterboxCase {
  const char* what;
  std::int32_t clientWidth;
  std::int32_t clientHeight;
  std::int32_t barHeight;
  VideoSize video;
  VideoRect expected;
};

TEST(LetterboxTest, FitsThePictureAboveTheBar) {
  const LetterboxCase cases[] = {
      // 1000 x 480 = 480000 > 620 x 640 = 396800: the height decides, 396800 / 480 = 826.67.
      {"wide client", 1000, 700, 80, {640, 480}, {87, 0, 826, 620}},
      // 640 x 480 = 307200 <= 396800: the width decides.
      {"narrow client", 640, 700, 80, {640, 480}, {0, 70, 640, 480}},
      // Equal products: the width decides and the picture fills the area exactly.
      {"equal products", 640, 560, 80, {640, 480}, {0, 0, 640, 480}},
      {"equal products, odd sizes", 300, 280, 80, {600, 400}, {0, 0, 300, 200}},
      // Truncation of each quotient: 700 x 9 / 16 = 393.75, (520 - 393) / 2 = 63.5.
      {"truncating division", 700, 600, 80, {1920, 1080}, {0, 63, 700, 393}},
      {"tall video", 800, 600, 70, {480, 640}, {201, 0, 397, 530}},
      {"no bar", 800, 600, 0, {800, 600}, {0, 0, 800, 600}},
  };
  for (const LetterboxCase& entry : cases) {
    EXPECT_EQ(LetterboxVideo(entry.clientWidth, entry.clientHeight, entry.barHeight, entry.video),
              entry.expected)
        << entry.what;
  }
}

TEST(LetterboxTest, ClientLowerThanTheBarGivesAnEmptyPicture) {
  const LetterboxCase cases[] = {
      {"lower than the bar", 800, 50, 80, {640, 480}, {400, 0, 0, 0}},
      {"exactly the bar", 800, 80, 80, {640, 480}, {400, 0, 0, 0}},
      {"minimised", 0, 0, 80, {640, 480}, {0, 0, 0, 0}},
  };
  for (const LetterboxCase& entry : cases) {
    EXPECT_EQ(LetterboxVideo(entry.clientWidth, entry.clientHeight, entry.barHeight, entry.video),
              entry.expected)
        << entry.what;
  }
}

TEST(LetterboxTest, LargeSizesDoNotOverflow) {
  // 65535 x 60000 exceeds 32 bits; the result must still be the exact letterbox.
  EXPECT_EQ(LetterboxVideo(65535, 65535, 35, {60000, 60000}), (VideoRect{17, 0, 65500, 65500}));
}

}  // namespace
}  // namespace ostrel
