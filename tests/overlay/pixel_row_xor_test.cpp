#include "overlay/pixel_row_xor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ostrel {
namespace {

// Every run of 0 to 20 pixels, starting anywhere in a picture of 24 pixels, changes exactly
// its own pixels: the lanes combined past a run's end, and the runs that come too near the
// picture's end for them, leave every other pixel as it was. Runs of a count below one
// change nothing. Under the address checker a lane outside the picture would also fail.
TEST(CombinePixelRun, ChangesExactlyTheRunsPixelsWhereverItLies) {
  constexpr std::int64_t kPixels = 24;
  constexpr std::uint32_t kBits = 0x00A5C33Cu;
  for (std::int64_t start = 0; start < kPixels; ++start) {
    for (std::int64_t count = -2; start + count <= kPixels && count <= 20; ++count) {
      std::vector<std::uint32_t> picture(kPixels);
      for (std::int64_t i = 0; i < kPixels; ++i) picture[static_cast<std::size_t>(i)] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010203);
      const std::vector<std::uint32_t> before = picture;
      CombinePixelRun(picture.data() + start, count, kBits, picture.data() + kPixels);
      for (std::int64_t i = 0; i < kPixels; ++i) {
        const bool inRun = i >= start && i < start + count;
        const std::uint32_t expected = before[static_cast<std::size_t>(i)] ^ (inRun ? kBits : 0u);
        ASSERT_EQ(picture[static_cast<std::size_t>(i)], expected) << "start " << start << ", count " << count << ", pixel " << i;
      }
    }
  }
}

}  // namespace
}  // namespace ostrel
