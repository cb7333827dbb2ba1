#include "track/background_release.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace ostrel {
namespace {

// Counts its own destructions, wherever they happen.
struct Counted {
  explicit Counted(std::atomic<int>& counter) : gone(&counter) {}
  Counted(Counted&& other) noexcept : gone(other.gone) { other.gone = nullptr; }
  Counted& operator=(Counted&&) = delete;
  ~Counted() {
    if (gone) ++*gone;
  }
  std::atomic<int>* gone;
};

TEST(BackgroundRelease, EmptiesAtOnceAndReleasesEverythingByTheEnd) {
  std::atomic<int> gone = 0;
  std::vector<Counted> table;
  table.reserve(3);
  for (int i = 0; i < 3; ++i) table.emplace_back(gone);
  {
    const BackgroundRelease<std::vector<Counted>> release(table);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(table.capacity(), 0u);
  }
  EXPECT_EQ(gone, 3);
}

}  // namespace
}  // namespace ostrel
