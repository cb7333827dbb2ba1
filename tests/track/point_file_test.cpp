#include "track/point_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace ostrel {
namespace {

using testing::PointRecord;

// The state every successful load leaves behind, whatever the file held.
void ExpectLoadedInvariants(const TrackStore& store) {
  ASSERT_GE(store.slotCount, 1);
  ASSERT_EQ(store.frameIndex.size(), static_cast<std::size_t>(store.slotCount));
  ASSERT_EQ(store.frameTrajectoryIndex.size(), static_cast<std::size_t>(store.slotCount));
  EXPECT_EQ(store.CurrentSlot, -1);
  for (const FrameTrajectoryIndex& entry : store.frameTrajectoryIndex) {
    EXPECT_EQ(entry, FrameTrajectoryIndex{});
  }
  std::int32_t nextPoint = 0;
  for (std::size_t j = 0; j < store.pointFrames.size(); ++j) {
    const PointFrame& frame = store.pointFrames[j];
    EXPECT_EQ(frame.firstPoint, nextPoint);
    nextPoint += frame.pointCount;
    const std::int32_t slot = frame.frame - store.firstFrame;
    ASSERT_GE(slot, 0);
    ASSERT_LT(slot, store.slotCount);
    // The index names this record, or a later one of the same frame.
    const std::int32_t named = store.frameIndex[static_cast<std::size_t>(slot)];
    EXPECT_GE(named, static_cast<std::int32_t>(j));
    EXPECT_EQ(store.pointFrames[static_cast<std::size_t>(named)].frame, frame.frame);
  }
  EXPECT_EQ(store.points.size(), static_cast<std::size_t>(nextPoint));
  for (const std::int32_t record : store.frameIndex) {
    EXPECT_TRUE(record == -1 || (record >= 0 && record < store.pointFrameCount()));
  }
}

std::vector<std::int32_t> AbsoluteFrames(const TrackStore& store) {
  std::vector<std::int32_t> frames;
  for (const PointFrame& frame : store.pointFrames) frames.push_back(frame.frame);
  return frames;
}

class PointFileTest : public ::testing::Test {
 protected:
  std::string Video() const { return folder.File("cam07_012.avi"); }
  std::string PointPath() const { return folder.File("cam07_012.lpa"); }
  void Write(const std::vector<PointRecord>& records) const { testing::WritePointFile(PointPath(), records); }
  void WriteBytes(const std::string& bytes) const { testing::WriteFileBytes(PointPath(), bytes); }
  bool Load(const PointFileLimits& limits = {}, PointFileReport* report = nullptr) {
    return LoadPointFile(store, Video(), messages, limits, report);
  }

  testing::TempFolder folder;
  testing::RecordingMessages messages;
  TrackStore store;
};

TEST_F(PointFileTest, LoadsRecordsPointsAndTheFrameIndex) {
  Write({{3, 1000, {{0.1, 0.2}, {0.3, 0.4}}}, {4, 1033, {}}, {6, 1100, {{0.5, 0.6}}}});
  ASSERT_TRUE(Load());
  EXPECT_TRUE(messages.shown.empty());
  ExpectLoadedInvariants(store);

  EXPECT_EQ(store.pointFrames, (std::vector<PointFrame>{{3, 1000, 2, 0}, {4, 1033, 0, 2}, {6, 1100, 1, 2}}));
  EXPECT_EQ(store.points, (PointArray{{0.1, 0.2}, {0.3, 0.4}, {0.5, 0.6}}));
  EXPECT_EQ(store.firstFrame, 3);
  EXPECT_EQ(store.slotCount, 4);
  // A record without points still has its frame; frame 5 has no record.
  EXPECT_EQ(store.frameIndex, (std::vector<std::int32_t>{0, 1, -1, 2}));
}

TEST_F(PointFileTest, NumbersSegmentsFromTheRecordBeforeEachRestart) {
  const struct {
    std::vector<std::int32_t> raw;
    std::vector<std::int32_t> absolute;
  } cases[] = {
      {{0, 1, 2, 0, 1}, {0, 1, 2, 3, 4}},
      {{5, 6, 0, 1}, {5, 6, 7, 8}},
      {{0, 1, 2, 9, 0}, {0, 1, 2, 9, 10}},
      {{0, 0, 0}, {0, 1, 2}},
      // The base comes from the record just before the 0, not the largest frame so far.
      {{0, 9, 4, 0, 2}, {0, 9, 4, 5, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.raw));
    std::vector<PointRecord> records;
    for (const std::int32_t raw : c.raw) records.push_back({raw, 40 * raw, {}});
    Write(records);
    ASSERT_TRUE(Load());
    EXPECT_EQ(AbsoluteFrames(store), c.absolute);
    ExpectLoadedInvariants(store);
  }
}

TEST_F(PointFileTest, KeepsDuplicateAndUnorderedRecords) {
  Write({{7, 700, {{0.7, 0.7}}}, {2, 200, {}}, {7, 701, {{0.8, 0.8}, {0.9, 0.9}}}, {4, 400, {}}});
  ASSERT_TRUE(Load());
  ExpectLoadedInvariants(store);
  EXPECT_EQ(store.pointFrameCount(), 4);
  EXPECT_EQ(store.firstFrame, 2);
  EXPECT_EQ(store.slotCount, 6);
  // Frame 7 is named by the later of its two records.
  EXPECT_EQ(store.frameIndex, (std::vector<std::int32_t>{1, -1, 3, -1, -1, 2}));
  EXPECT_EQ(store.pointFrames[2], (PointFrame{7, 701, 2, 1}));
}

TEST_F(PointFileTest, EmptyFileGivesTwoEmptySlots) {
  WriteBytes("");
  ASSERT_TRUE(Load());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(store.pointFrames.empty());
  EXPECT_TRUE(store.points.empty());
  EXPECT_EQ(store.firstFrame, -1);
  EXPECT_EQ(store.slotCount, 2);
  EXPECT_EQ(store.frameIndex, (std::vector<std::int32_t>{-1, -1}));
}

TEST_F(PointFileTest, DropsAFinalRecordWhoseHeaderEndsEarly) {
  const std::string whole = testing::EncodePointRecords({{0, 10, {{0.5, 0.5}}}, {1, 20, {{0.25, 0.75}}}});
  const std::size_t secondRecord = 10 + 16;
  for (std::size_t kept = 1; kept < 10; ++kept) {
    SCOPED_TRACE(kept);
    WriteBytes(whole.substr(0, secondRecord + kept));
    PointFileReport report;
    ASSERT_TRUE(Load({}, &report));
    EXPECT_EQ(AbsoluteFrames(store), std::vector<std::int32_t>{0});
    EXPECT_EQ(report.end, PointFileEnd::CutShort);
    EXPECT_EQ(report.endOffset, secondRecord);
    EXPECT_TRUE(messages.shown.empty());
  }
}

TEST_F(PointFileTest, AHalfDeliveredCountReadsAsItsLowByte) {
  // A count of 256 cut after its low byte (0) is a record without points.
  const std::vector<TrackPoint> many(256, TrackPoint{0.5, 0.5});
  const std::string whole = testing::EncodePointRecords({{0, 10, {}}, {1, 20, many}});
  WriteBytes(whole.substr(0, 10 + 9));
  ASSERT_TRUE(Load());
  EXPECT_EQ(store.pointFrames, (std::vector<PointFrame>{{0, 10, 0, 0}, {1, 20, 0, 0}}));
}

TEST_F(PointFileTest, TakesAFinalRecordWhosePointsEndEarly) {
  const std::string whole = testing::EncodePointRecords({{0, 10, {{0.5, 0.25}, {0.125, 0.75}, {0.3, 0.3}}}});
  // Cut inside the second point's y: its x survives, the rest reads as zero.
  WriteBytes(whole.substr(0, 10 + 16 + 8 + 3));
  PointFileReport report;
  ASSERT_TRUE(Load({}, &report));
  ExpectLoadedInvariants(store);
  EXPECT_EQ(store.pointFrames, (std::vector<PointFrame>{{0, 10, 3, 0}}));
  EXPECT_EQ(store.points, (PointArray{{0.5, 0.25}, {0.125, 0.0}, {0.0, 0.0}}));
  EXPECT_TRUE(report.lastPointsIncomplete);
  EXPECT_EQ(report.end, PointFileEnd::Complete);
}

TEST_F(PointFileTest, StopsAtARecordOutsideTheFormatAndKeepsWhatCameBefore) {
  const struct {
    const char* why;
    std::vector<PointRecord> records;
    std::vector<std::int32_t> kept;
  } cases[] = {
      {"negative point count", {{0, 0, {{0.5, 0.5}}}, {1, 40, {{0.1, 0.1}}, std::int16_t{-1}}, {2, 80, {}}}, {0}},
      {"negative frame number", {{0, 0, {}}, {1, 40, {}}, {-3, 80, {}}}, {0, 1}},
      {"frame number beyond 32 bits", {{5, 0, {}}, {0, 40, {}}, {INT32_MAX, 80, {}}}, {5, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    messages.shown.clear();
    Write(c.records);
    PointFileReport report;
    ASSERT_TRUE(Load({}, &report));
    ExpectLoadedInvariants(store);
    EXPECT_EQ(AbsoluteFrames(store), c.kept);
    EXPECT_EQ(report.end, PointFileEnd::Damaged);
    EXPECT_EQ(report.damage, c.why);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, PointPath());
    EXPECT_NE(messages.shown[0].text.find(c.why), std::string::npos) << messages.shown[0].text;
  }
}

TEST_F(PointFileTest, HasNoRecordLimit) {
  std::vector<PointRecord> records;
  for (std::int32_t frame = 0; frame < 60000; ++frame) records.push_back({frame, frame * 33, {}});
  records.push_back({60000, 60000 * 33, std::vector<TrackPoint>(32767, TrackPoint{0.25, 0.5})});
  Write(records);
  ASSERT_TRUE(Load());
  ExpectLoadedInvariants(store);
  EXPECT_EQ(store.pointFrameCount(), 60001);
  EXPECT_EQ(store.points.size(), 32767u);
  EXPECT_EQ(store.points.back(), (TrackPoint{0.25, 0.5}));
}

TEST_F(PointFileTest, ReadsRecordsAcrossReadBufferBoundaries) {
  // Records of uneven sizes over several megabytes, each point telling where it belongs.
  std::vector<PointRecord> records;
  for (std::int32_t frame = 0; frame < 3000; ++frame) {
    PointRecord record{frame % 700, frame, {}};
    for (int i = 0; i < (frame * 37) % 211; ++i) record.points.push_back({frame + 0.5, i + 0.25});
    records.push_back(std::move(record));
  }
  records.push_back({1, 9999, std::vector<TrackPoint>(32767, TrackPoint{-1.0, -2.0})});
  Write(records);
  ASSERT_TRUE(Load());
  ExpectLoadedInvariants(store);
  ASSERT_EQ(store.pointFrameCount(), 3001);
  for (std::int32_t j = 0; j < 3000; ++j) {
    const PointFrame& frame = store.pointFrames[static_cast<std::size_t>(j)];
    ASSERT_EQ(frame.clockMs, j);
    for (int i = 0; i < frame.pointCount; ++i) {
      ASSERT_EQ(store.points[static_cast<std::size_t>(frame.firstPoint + i)], (TrackPoint{j + 0.5, i + 0.25}));
    }
  }
  EXPECT_EQ(store.points.back(), (TrackPoint{-1.0, -2.0}));
}

TEST_F(PointFileTest, ReportsAMissingFileWithItsComposedPath) {
  ASSERT_FALSE(Load());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (UserMessage{"File open failed.", PointPath(), MessageOwner::None}));
  EXPECT_EQ(store.slotCount, 0);
  EXPECT_TRUE(store.frameIndex.empty());
}

TEST_F(PointFileTest, RefusesAFolderInPlaceOfTheFile) {
  std::filesystem::create_directory(PointPath());
  ASSERT_FALSE(Load());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "File open failed.");
}

TEST_F(PointFileTest, ReportsAVideoPathWithoutFolder) {
  ASSERT_FALSE(LoadPointFile(store, "cam07_012.avi", messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (UserMessage{"Invalid filename.", "cam07_012.avi", MessageOwner::None}));
}

TEST_F(PointFileTest, RefusesAFrameRangeTooWideToIndex) {
  Write({{0, 0, {{0.5, 0.5}}}, {INT32_MAX, 1, {}}});
  ASSERT_FALSE(Load());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (UserMessage{"Memory failure in allocing for ldpt index.", "Error"}));
  // No slot stays reachable and no point data is left half loaded.
  EXPECT_EQ(store.slotCount, 0);
  EXPECT_TRUE(store.frameIndex.empty());
  EXPECT_TRUE(store.pointFrames.empty());
  EXPECT_TRUE(store.points.empty());
}

TEST_F(PointFileTest, ReportsEachArrayThatCannotBeAllocated) {
  // Two records, three points, frames 10 to 14: five slots.
  Write({{10, 0, {{0.5, 0.5}, {0.5, 0.5}}}, {14, 40, {{0.5, 0.5}}}});
  const std::uint64_t frames = 2 * sizeof(PointFrame);
  const std::uint64_t points = 3 * sizeof(TrackPoint);
  const std::uint64_t index = 5 * sizeof(std::int32_t);
  const std::uint64_t trajectoryIndex = 5 * sizeof(FrameTrajectoryIndex);
  const struct {
    std::uint64_t budget;
    UserMessage message;
  } cases[] = {
      {frames - 1, {"Too big a LPA file, process failed", PointPath()}},
      {frames + points - 1, {"Too big a LPA file, process failed", PointPath()}},
      {frames + points + index - 1, {"Memory failure in allocing for ldpt index.", "Error"}},
      {frames + points + index + trajectoryIndex - 1, {"Memory failure in allocing for trj index.", "Error"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.text);
    messages.shown.clear();
    EXPECT_FALSE(Load({.memoryBudgetBytes = c.budget}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], c.message);
    EXPECT_EQ(store.slotCount, 0);
    EXPECT_EQ(store.CurrentSlot, -1);
    EXPECT_EQ(TrackStoreBytes(store), 0u);
  }
  messages.shown.clear();
  EXPECT_TRUE(Load({.memoryBudgetBytes = frames + points + index + trajectoryIndex}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PointFileTest, ALoadReplacesTheRecordsOfTheOneBefore) {
  Write({{0, 0, {{0.5, 0.5}}}, {1, 40, {{0.5, 0.5}}}, {2, 80, {}}});
  ASSERT_TRUE(Load());
  store.CurrentSlot = 2;
  Write({{100, 5, {}}});
  ASSERT_TRUE(Load());
  ExpectLoadedInvariants(store);
  EXPECT_EQ(store.pointFrames, (std::vector<PointFrame>{{100, 5, 0, 0}}));
  EXPECT_TRUE(store.points.empty());
  EXPECT_EQ(store.firstFrame, 100);
  EXPECT_EQ(store.slotCount, 1);
}

}  // namespace
}  // namespace ostrel
