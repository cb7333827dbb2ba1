#include "track/ordered_chunks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ostrel {
namespace {

struct NumberChunk {
  std::uint64_t number = 0;
  std::uint64_t square = 0;
};

// A run over the chunks 0, 1, 2, ... that records what was applied, in the order it was.
struct ChunkRun {
  std::uint64_t chunks = 200;
  std::uint64_t stopAt = UINT64_MAX;      // apply refuses this chunk
  std::uint64_t throwAt = UINT64_MAX;     // parse throws on this chunk
  std::uint64_t applyThrowAt = UINT64_MAX;  // apply throws on this chunk
  std::uint64_t readThrowAt = UINT64_MAX;   // reading this chunk throws
  std::atomic<int> applying = 0;
  std::atomic<bool> overlapped = false;  // two applies ran at once
  std::atomic<int> reading = 0;
  std::atomic<bool> readsOverlapped = false;
  std::uint64_t read = 0;
  std::vector<std::uint64_t> applied;

  bool Go(std::size_t slots, bool withWorker) {
    return RunOrderedChunks<NumberChunk>(
        slots, withWorker,
        [this](NumberChunk& chunk) {
          // Reads come one at a time, though not under the schedule's lock.
          if (++reading > 1) readsOverlapped = true;
          if (read % 3 == 0) std::this_thread::yield();
          --reading;
          if (read == readThrowAt) throw std::runtime_error("unreadable disk");
          if (read == chunks) return false;
          chunk.number = read++;
          return true;
        },
        [this](NumberChunk& chunk) {
          if (chunk.number == throwAt) throw std::runtime_error("unreadable");
          // Uneven work, so that the two threads finish out of order.
          if (chunk.number % 7 == 0) std::this_thread::yield();
          chunk.square = chunk.number * chunk.number;
        },
        [this](const NumberChunk& chunk) {
          // Either thread may apply, but never two at once.
          if (++applying > 1) overlapped = true;
          EXPECT_EQ(chunk.square, chunk.number * chunk.number);
          if (chunk.number % 5 == 0) std::this_thread::yield();
          applied.push_back(chunk.number);
          --applying;
          if (chunk.number == applyThrowAt) throw std::runtime_error("cannot keep");
          return chunk.number != stopAt;
        });
  }
};

std::vector<std::uint64_t> Upto(std::uint64_t count) {
  std::vector<std::uint64_t> numbers;
  for (std::uint64_t i = 0; i < count; ++i) numbers.push_back(i);
  return numbers;
}

struct Mode {
  std::size_t slots;
  bool withWorker;
};
constexpr Mode kModes[] = {{2, false}, {4, false}, {2, true}, {4, true}, {1, true}};

TEST(OrderedChunks, AppliesEveryChunkOnceInOrder) {
  for (const Mode mode : kModes) {
    SCOPED_TRACE(testing::Message() << mode.slots << " slots, worker " << mode.withWorker);
    for (const std::uint64_t chunks : {0u, 1u, 200u}) {
      ChunkRun run;
      run.chunks = chunks;
      EXPECT_TRUE(run.Go(mode.slots, mode.withWorker));
      EXPECT_EQ(run.applied, Upto(chunks));
      EXPECT_FALSE(run.overlapped);
      EXPECT_FALSE(run.readsOverlapped);
    }
  }
}

TEST(OrderedChunks, ARefusedChunkStopsTheRunAfterIt) {
  for (const Mode mode : kModes) {
    SCOPED_TRACE(testing::Message() << mode.slots << " slots, worker " << mode.withWorker);
    ChunkRun run;
    run.stopAt = 17;
    EXPECT_FALSE(run.Go(mode.slots, mode.withWorker));
    EXPECT_EQ(run.applied, Upto(18));
    // Reading stops too: no more than the chunks in flight were read past the refused one.
    EXPECT_LE(run.read, 18 + std::max<std::size_t>(mode.slots, 2));
  }
}

TEST(OrderedChunks, AFailedReadOrParseIsThrownAfterTheChunksBeforeIt) {
  struct Failure {
    const char* step;
    std::uint64_t ChunkRun::*at;
    std::uint64_t chunk;
  };
  for (const Failure failure : {Failure{"parse", &ChunkRun::throwAt, 9}, Failure{"read", &ChunkRun::readThrowAt, 31}}) {
    for (const Mode mode : kModes) {
      SCOPED_TRACE(testing::Message() << failure.step << ", " << mode.slots << " slots, worker " << mode.withWorker);
      ChunkRun run;
      run.*failure.at = failure.chunk;
      EXPECT_THROW(run.Go(mode.slots, mode.withWorker), std::runtime_error);
      ASSERT_LE(run.applied.size(), failure.chunk);
      EXPECT_EQ(run.applied, Upto(run.applied.size()));
    }
  }
}

TEST(OrderedChunks, AFailedApplyIsThrownWithNothingAppliedAfterIt) {
  for (const Mode mode : kModes) {
    SCOPED_TRACE(testing::Message() << mode.slots << " slots, worker " << mode.withWorker);
    ChunkRun run;
    run.applyThrowAt = 23;
    EXPECT_THROW(run.Go(mode.slots, mode.withWorker), std::runtime_error);
    EXPECT_EQ(run.applied, Upto(24));
  }
}

}  // namespace
}  // namespace ostrel
