#include "track/frame_lookup.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

namespace ostrel {
namespace {

// A store whose slot i holds a record with clock clocks[i], or none for nullopt; each record
// gets one point (slot, clock) so that the points query can be checked too.
TrackStore StoreWithClocks(const std::vector<std::optional<ClockMs>>& clocks) {
  TrackStore store;
  store.firstFrame = 500;
  store.slotCount = static_cast<std::int32_t>(clocks.size());
  for (std::size_t slot = 0; slot < clocks.size(); ++slot) {
    if (!clocks[slot]) {
      store.frameIndex.push_back(-1);
      continue;
    }
    store.frameIndex.push_back(store.pointFrameCount());
    store.pointFrames.push_back({static_cast<std::int32_t>(500 + slot), *clocks[slot], 1,
                                 static_cast<std::int32_t>(store.points.size())});
    store.points.push_back({static_cast<double>(slot), static_cast<double>(*clocks[slot])});
  }
  store.frameTrajectoryIndex.resize(clocks.size());
  return store;
}

// Slots 0..count-1 at `first` + `step` x slot.
std::vector<std::optional<ClockMs>> EvenClocks(int count, ClockMs first, ClockMs step) {
  std::vector<std::optional<ClockMs>> clocks;
  for (int slot = 0; slot < count; ++slot) clocks.push_back(first + step * slot);
  return clocks;
}

std::int32_t Find(TrackStore& store, ClockMs time) {
  FindFrameForTime(store, time);
  return store.CurrentSlot;
}

std::int32_t Advance(TrackStore& store, std::int32_t from, ClockMs time) {
  store.CurrentSlot = from;
  AdvanceFrameToTime(store, time);
  return store.CurrentSlot;
}

TEST(FrameLookup, AnEmptyTableHasNoCurrentFrame) {
  TrackStore empty;
  TrackStore noRecords = StoreWithClocks({std::nullopt, std::nullopt});  // an empty point file
  for (TrackStore* store : {&empty, &noRecords}) {
    EXPECT_EQ(Find(*store, 0), -1);
    EXPECT_EQ(Advance(*store, -1, 0), -1);
    EXPECT_EQ(CurrentFrameClock(*store), 0);
    EXPECT_EQ(CurrentFramePoints(*store), std::nullopt);
  }
}

TEST(FindFrameForTime, SelectsTheFrameNearestTheTime) {
  // 250 slots, 40 ms apart from 1000 ms; a pair at 200/240 is played by slots 5/6 of a
  // second table.
  TrackStore store = StoreWithClocks(EvenClocks(250, 1000, 40));
  TrackStore pair = StoreWithClocks({100, 140, 180, 190, 195, 200, 240, 300});
  const struct {
    const char* why;
    TrackStore* store;
    ClockMs time;
    std::int32_t slot;
  } cases[] = {
      {"exact at slot 0", &store, 1000, 0},
      {"exact at a coarse sample", &store, 1000 + 40 * 100, 100},
      {"exact in the fine scan", &store, 1000 + 40 * 57, 57},
      {"exact at the last slot", &store, 1000 + 40 * 249, 249},
      {"lead-in of 1000 ms", &store, 0, 0},
      {"lead-in of 1001 ms", &store, -1, -1},
      {"just after the last frame", &store, 1000 + 40 * 249 + 1, -1},
      {"between slots 230 and 231, nearer 230", &store, 1000 + 40 * 230 + 19, 230},
      {"between slots 230 and 231, nearer 231", &store, 1000 + 40 * 230 + 21, 231},
      {"nearer the earlier", &pair, 215, 5},
      {"nearer the later", &pair, 225, 6},
      {"halfway selects the later", &pair, 220, 6},
      {"after the last of a short table", &pair, 301, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Find(*c.store, c.time), c.slot);
  }
}

TEST(FindFrameForTime, PassesOverSlotsWithoutRecords) {
  std::vector<std::optional<ClockMs>> clocks(21);
  for (int slot = 0; slot <= 10; ++slot) clocks[static_cast<std::size_t>(slot)] = 40 * slot;
  clocks[20] = 800;
  TrackStore store = StoreWithClocks(clocks);
  EXPECT_EQ(Find(store, 500), 10);
  EXPECT_EQ(Find(store, 700), 20);
  EXPECT_EQ(Find(store, 600), 20);
}

TEST(FindFrameForTime, ResumesTheFineScanAtTheLastCoarseSampleWithARecord) {
  // Coarse sample 300 has no record. Starting the fine scan a block before the first later
  // sample (400) would begin at slot 300 and weigh slot 301 against 299, missing the frames
  // near 200 by seconds; the scan must go back to the last sample it actually examined.
  std::vector<std::optional<ClockMs>> clocks = EvenClocks(500, 0, 10);
  clocks[300] = std::nullopt;
  TrackStore store = StoreWithClocks(clocks);
  EXPECT_EQ(Find(store, 2003), 200);
  EXPECT_EQ(Find(store, 2996), 300 - 1);
  EXPECT_EQ(Find(store, 3005), 301);

  // The same when the coarse scan runs off the end of the table.
  std::vector<std::optional<ClockMs>> shortTable = EvenClocks(250, 0, 10);
  shortTable[200] = std::nullopt;
  TrackStore tail = StoreWithClocks(shortTable);
  EXPECT_EQ(Find(tail, 1504), 150);
  EXPECT_EQ(Find(tail, 2000), 201);

  // Slots 90 to 110 without records: the earlier neighbour lies before sample 100.
  std::vector<std::optional<ClockMs>> hole = EvenClocks(300, 0, 10);
  for (std::size_t slot = 90; slot <= 110; ++slot) hole[slot] = std::nullopt;
  TrackStore holed = StoreWithClocks(hole);
  EXPECT_EQ(Find(holed, 890), 89);
  EXPECT_EQ(Find(holed, 1000), 111);  // halfway between 890 and 1110
  EXPECT_EQ(Find(holed, 999), 89);
}

TEST(AdvanceFrameToTime, MovesForwardFromTheCurrentFrame) {
  TrackStore store = StoreWithClocks(EvenClocks(250, 1000, 40));
  const struct {
    const char* why;
    std::int32_t from;
    ClockMs time;
    std::int32_t slot;
  } cases[] = {
      {"one tick on", 10, 1000 + 40 * 12 + 5, 12},
      {"exact", 10, 1000 + 40 * 200, 200},
      {"halfway selects the later", 10, 1000 + 40 * 20 + 20, 21},
      {"five seconds before the first frame keeps slot 0", 0, -4000, 0},
      {"far behind moves back one slot at most", 200, 1000, 199},
      {"slightly behind keeps the current frame", 200, 1000 + 40 * 200 - 15, 200},
      {"after the last frame", 10, 1000 + 40 * 250, -1},
      {"a slot past the table", 250, 1000, -1},
      {"no current frame runs the full search", -1, 1000 + 40 * 57, 57},
      {"no current frame keeps the lead-in limit", -1, -4000, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Advance(store, c.from, c.time), c.slot);
  }
}

TEST(AdvanceFrameToTime, FallsBackToTheFullSearchAfterRunningOut) {
  TrackStore store = StoreWithClocks(EvenClocks(50, 0, 40));
  EXPECT_EQ(Advance(store, 40, 5000), -1);
  AdvanceFrameToTime(store, 5000);
  EXPECT_EQ(store.CurrentSlot, -1);
  AdvanceFrameToTime(store, 400);  // the video looped
  EXPECT_EQ(store.CurrentSlot, 10);
}

// The rule both searches follow, written out the slow way: the nearest record, ties to the
// later one, nothing after the last frame, and at most 1000 ms of lead-in.
std::int32_t NearestSlot(const std::vector<std::optional<ClockMs>>& clocks, ClockMs time) {
  std::int32_t earlier = -1;
  for (std::size_t slot = 0; slot < clocks.size(); ++slot) {
    if (!clocks[slot]) continue;
    const ClockMs clock = *clocks[slot];
    if (clock < time) {
      earlier = static_cast<std::int32_t>(slot);
      continue;
    }
    if (clock == time) return static_cast<std::int32_t>(slot);
    if (earlier == -1) return clock - time <= 1000 ? static_cast<std::int32_t>(slot) : -1;
    const ClockMs earlierClock = *clocks[static_cast<std::size_t>(earlier)];
    return time - earlierClock < clock - time ? earlier : static_cast<std::int32_t>(slot);
  }
  return -1;
}

TEST(FrameLookup, BothSearchesAgreeWithTheNearestFrameOnIrregularTables) {
  std::mt19937 random(20261210);
  for (int table = 0; table < 20; ++table) {
    std::vector<std::optional<ClockMs>> clocks;
    ClockMs clock = static_cast<ClockMs>(random() % 100000);
    const int slots = 1 + static_cast<int>(random() % 1500);
    for (int slot = 0; slot < slots; ++slot) {
      clock += 1 + static_cast<ClockMs>(random() % 80);
      const bool missing = slot > 0 && random() % 5 == 0;
      clocks.push_back(missing ? std::nullopt : std::optional<ClockMs>(clock));
    }
    TrackStore full = StoreWithClocks(clocks);
    TrackStore playing = StoreWithClocks(clocks);
    const ClockMs first = *clocks.front();
    Find(playing, first);
    for (ClockMs time = first - 1500; time < clock + 200; time += 1 + static_cast<ClockMs>(random() % 120)) {
      SCOPED_TRACE(::testing::Message() << "table " << table << ", time " << time);
      const std::int32_t expected = NearestSlot(clocks, time);
      ASSERT_EQ(Find(full, time), expected);
      if (time >= first) {
        AdvanceFrameToTime(playing, time);
        ASSERT_EQ(playing.CurrentSlot, expected);
      }
    }
  }
}

TEST(CurrentFrameQueries, ReportTheClockAndPointsOfTheCurrentRecord) {
  TrackStore store = StoreWithClocks({0, std::nullopt, 80});
  store.pointFrames[0].pointCount = 0;  // a frame without points
  const struct {
    std::int32_t slot;
    ClockMs clock;
    std::optional<std::vector<TrackPoint>> points;
  } cases[] = {
      {0, 0, std::vector<TrackPoint>{}},
      {1, 0, std::nullopt},
      {2, 80, std::vector<TrackPoint>{{2.0, 80.0}}},
      {-1, 0, std::nullopt},
      {3, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    store.CurrentSlot = c.slot;
    EXPECT_EQ(CurrentFrameClock(store), c.clock);
    const auto points = CurrentFramePoints(store);
    ASSERT_EQ(points.has_value(), c.points.has_value());
    if (points) {
      EXPECT_EQ(std::vector<TrackPoint>(points->begin(), points->end()), *c.points);
    }
  }
}

TEST(FrameLookup, NeverIndexesPastAnIndexShorterThanItsSlotCount) {
  TrackStore store = StoreWithClocks({0, 40});
  store.slotCount = 1000;  // as if the index had failed to grow with the range
  EXPECT_EQ(Find(store, 1000), -1);
  EXPECT_EQ(Find(store, 40), 1);
  EXPECT_EQ(Advance(store, 1, 5000), -1);
  store.CurrentSlot = 500;
  EXPECT_EQ(CurrentFrameClock(store), 0);
  EXPECT_EQ(CurrentFramePoints(store), std::nullopt);
}

}  // namespace
}  // namespace ostrel
