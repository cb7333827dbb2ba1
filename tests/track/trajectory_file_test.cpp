#include "track/trajectory_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/track/trajectory_fixture.h"
#include "track/point_file.h"
#include "track/trajectory_index.h"

namespace ostrel {
namespace {

using testing::LineEnd;
using testing::SampleAt;
using testing::StoredFrames;
using testing::TrajectoryFixture;
using testing::TrajectoryOf;
using testing::TrajectoryRecord;
using testing::TrajectorySampleLine;
using Frames = std::vector<std::vector<std::int32_t>>;

std::string SampleText(std::int32_t frame, double score = 0.5, std::int32_t breakValue = 0) {
  return testing::FormatTrajectorySample(SampleAt(frame, score, breakValue));
}

bool IndexAllZero(const TrackStore& store) {
  for (const FrameTrajectoryIndex& entry : store.frameTrajectoryIndex) {
    if (!(entry == FrameTrajectoryIndex{})) return false;
  }
  return true;
}

class TrajectoryFileTest : public ::testing::Test, public TrajectoryFixture {};

// --- Line forms -------------------------------------------------------------------------

TEST_F(TrajectoryFileTest, ReadsEveryValueOfHeaderAndSampleLines) {
  TrajectorySampleLine line;
  line.frame = 12;
  line.clockMs = -3400;
  line.corners = {{{0.125, 0.25}, {0.625, 0.25}, {0.625, 0.75}, {0.125, 0.5}}};
  line.score = 0.875;
  line.breakValue = 0;
  TrajectoryRecord record = TrajectoryOf(77, {line}, 0.5, 4.0, 0.71);
  record.unused = 123;
  Write({record});

  ASSERT_TRUE(Load());
  ASSERT_EQ(store.trajectoryCount(), 1);
  const TrajectoryHeader& header = store.trajectories[0].header;
  EXPECT_EQ(header.id, 77);
  EXPECT_EQ(header.kind, 0);
  EXPECT_EQ(header.param1, 0.5);
  EXPECT_EQ(header.param2, 4.0);
  EXPECT_EQ(header.param3, 0.71);
  EXPECT_EQ(header.score, 0.875);
  ASSERT_EQ(store.trajectories[0].sampleCount(), 1);
  const TrajectorySample& sample = store.trajectories[0].samples[0];
  EXPECT_EQ(sample.trajectoryId, 77);
  EXPECT_EQ(sample.frame, 12);
  EXPECT_EQ(sample.clockMs, -3400);
  EXPECT_EQ(sample.corners[0], (TrackPoint{0.125, 0.25}));
  EXPECT_EQ(sample.corners[1], (TrackPoint{0.625, 0.25}));
  EXPECT_EQ(sample.corners[2], (TrackPoint{0.625, 0.75}));
  EXPECT_EQ(sample.corners[3], (TrackPoint{0.125, 0.5}));
  EXPECT_EQ(sample.centre, (TrackPoint{0.375, 0.4375}));
  EXPECT_EQ(sample.score, 0.875);
  EXPECT_EQ(sample.breakFlag, 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TrajectoryFileTest, KeywordsMatchInAnyCaseAndOnlyAtTheStartOfTheLine) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    Frames frames;
  };
  const std::string sample20 = SampleText(20);
  const std::string upperSample = "FRAME=21" + SampleText(21).substr(8);
  const std::vector<Case> cases = {
      {"lower case", {"trajectory 1 0 0.5 0.5 0.5", sample20}, {{20}}},
      {"mixed case", {"TrAjEcToRy 1 0 0.5 0.5 0.5", "FrAmE=20" + sample20.substr(8), upperSample},
       {{20, 21}}},
      {"keyword glued to more text", {"trajectoryXYZ 1 0 0.5 0.5 0.5", sample20}, {{20}}},
      {"blank before a header", {"trajectory 1 0 0.5 0.5 0.5", sample20, " trajectory 2 0 0.5 0.5 0.5",
                                 SampleText(21)}, {{20, 21}}},
      {"blank before a sample",
       {"trajectory 1 0 0.5 0.5 0.5", sample20, " " + SampleText(30), SampleText(0)}, {{20, 21}}},
      {"tab before a sample", {"trajectory 1 0 0.5 0.5 0.5", "\t" + sample20}, {{}}},
      {"other lines between", {"# tracker 3.2", "trajectory 1 0 0.5 0.5 0.5", "", "x", sample20},
       {{20}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    fixture.WriteLines(c.lines);
    ASSERT_TRUE(fixture.Load());
    EXPECT_EQ(StoredFrames(fixture.store), c.frames);
  }
}

TEST_F(TrajectoryFileTest, SplitsTokensAtRunsOfSpacesCommasAndTabs) {
  WriteLines({"trajectory,,5\t0 , 1.5,\t0.5 ,0.25",
              "frame=20,,time=7\t\tx1=0.1 , y1=0.2,x2=0.3,y2=0.2 x3=0.3 y3=0.4 x4=0.1 y4=0.4 "
              "score=0.5,breakflg=3, extra tokens are ignored"});
  ASSERT_TRUE(Load());
  ASSERT_EQ(StoredFrames(store), (Frames{{20}}));
  const TrajectoryHeader& header = store.trajectories[0].header;
  EXPECT_EQ(header.id, 5);
  EXPECT_EQ(header.param1, 1.5);
  EXPECT_EQ(header.param2, 0.5);
  EXPECT_EQ(header.param3, 0.25);
  const TrajectorySample& sample = store.trajectories[0].samples[0];
  EXPECT_EQ(sample.clockMs, 7);
  EXPECT_EQ(sample.corners[3], (TrackPoint{0.1, 0.4}));
  EXPECT_EQ(sample.score, 0.5);
  EXPECT_EQ(sample.breakFlag, 1);
}

TEST_F(TrajectoryFileTest, TextBetweenValuesReadsTheSameInEveryForm) {
  // Each line holds the values of the usual one; only what comes between them differs.
  const std::string usual =
      "frame=20 time=7 x1=0.125 y1=0.25 x2=0.625 y2=0.25 x3=0.625 y3=0.75 x4=0.125 y4=0.5 "
      "score=0.875 breakflg=2";
  struct Case {
    const char* name;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"usual", usual},
      {"keys in upper case",
       "frame=20 TIME=7 X1=0.125 Y1=0.25 X2=0.625 Y2=0.25 X3=0.625 Y3=0.75 X4=0.125 Y4=0.5 "
       "SCORE=0.875 BREAKFLG=2"},
      {"text after each number",
       "frame=20ms time=7ms x1=0.125px y1=0.25px x2=0.625e y2=0.25. x3=0.625+ y3=0.75x x4=0.125 "
       "y4=0.5- score=0.875% breakflg=2!"},
      {"two blanks and a tab",
       "frame=20  time=7\tx1=0.125  y1=0.25\t\tx2=0.625 y2=0.25  x3=0.625 y3=0.75 x4=0.125 "
       "y4=0.5  score=0.875\tbreakflg=2"},
      {"other keys of the same lengths",
       "frame=20 clock7 a1:0.125 b1:0.25 a2:0.625 b2:0.25 a3:0.625 b3:0.75 a4:0.125 b4:0.5 "
       "value:0.875 breakflag2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    fixture.WriteLines({"trajectory 1 0 0.5 0.5 0.5", c.line});
    ASSERT_TRUE(fixture.Load());
    ASSERT_EQ(StoredFrames(fixture.store), (Frames{{20}}));
    const TrajectorySample& sample = fixture.store.trajectories[0].samples[0];
    EXPECT_EQ(sample.clockMs, 7);
    EXPECT_EQ(sample.corners[0], (TrackPoint{0.125, 0.25}));
    EXPECT_EQ(sample.corners[1], (TrackPoint{0.625, 0.25}));
    EXPECT_EQ(sample.corners[2], (TrackPoint{0.625, 0.75}));
    EXPECT_EQ(sample.corners[3], (TrackPoint{0.125, 0.5}));
    EXPECT_EQ(sample.score, 0.875);
    EXPECT_EQ(sample.breakFlag, 1);
  }
}

TEST_F(TrajectoryFileTest, CarriageReturnLineFeedEndsALine) {
  const std::vector<TrajectoryRecord> records = {
      TrajectoryOf(1, {SampleAt(20, 0.25, 0), SampleAt(21, 0.5, 7)}, 1.5, 0.5, 0.5),
      TrajectoryOf(2, {SampleAt(0, 0.75, 0)}, 0.5, 0.5, 0.5)};
  Write(records, LineEnd::CrLf);
  ASSERT_TRUE(Load());
  TrackStore withCrLf = store;

  Write(records, LineEnd::Lf);
  ASSERT_TRUE(Load());
  ASSERT_EQ(withCrLf.trajectoryCount(), 2);
  EXPECT_EQ(StoredFrames(withCrLf), (Frames{{20, 21}, {22}}));
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(withCrLf.trajectories[i].header, store.trajectories[i].header);
    EXPECT_EQ(withCrLf.trajectories[i].samples, store.trajectories[i].samples);
  }
}

TEST_F(TrajectoryFileTest, CarriageReturnIsNotATokenOfItsOwn) {
  // With the line end kept, the "\r" after the last blank would be a sixth token.
  WriteLines({"trajectory 1 0 1.5 0.5 ", SampleText(20)}, LineEnd::CrLf);
  TrajectoryFileReport report;
  ASSERT_TRUE(Load({}, &report));
  EXPECT_EQ(report.headerLines, 1u);
  EXPECT_EQ(report.malformedHeaderLines, 1u);
  EXPECT_EQ(store.trajectories[0].header.param3, 0.0);
}

TEST_F(TrajectoryFileTest, ReadsLongLinesInPiecesOf199Characters) {
  // The rest of a longer line is a line of its own: here a sample line.
  std::string header = "trajectory 4 0 0.5 0.5 0.5";
  header.resize(199, ' ');
  // A sample line whose twelfth token lies past the piece is cut into two lines that are
  // both outside the format.
  std::string cut = SampleText(21);
  const std::size_t lastToken = cut.rfind(' ');
  cut.insert(lastToken, 199 - lastToken, ' ');
  WriteLines({header + SampleText(20), cut, SampleText(22)});

  TrajectoryFileReport report;
  ASSERT_TRUE(Load({}, &report));
  EXPECT_EQ(StoredFrames(store), (Frames{{20, 22}}));
  EXPECT_EQ(store.trajectories[0].header.id, 4);
  EXPECT_EQ(report.malformedSampleLines, 1u);
}

TEST_F(TrajectoryFileTest, BreakFlagIsOneForAnyValueButZero) {
  const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {{0, 0}, {5, 1}, {1, 1}, {-1, 1}};
  std::vector<TrajectorySampleLine> samples;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    samples.push_back(SampleAt(20 + static_cast<std::int32_t>(i), 0.5, cases[i].first));
  }
  Write({TrajectoryOf(1, samples)});
  ASSERT_TRUE(Load());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("break value " + std::to_string(cases[i].first));
    EXPECT_EQ(store.trajectories[0].samples[i].breakFlag, cases[i].second);
  }
}

// --- Kinds and scores -------------------------------------------------------------------

TEST_F(TrajectoryFileTest, KindAndScoreFollowTheParametersAndTheMeanScore) {
  struct Case {
    const char* name;
    double param1;
    double param2;
    std::vector<double> scores;
    std::int32_t kind;
    double score;
  };
  const std::vector<Case> cases = {
      {"param1 exactly 1 gives kind 0", 1.0, 5.0, {1.0, 2.0}, 0, 1.5},
      {"param1 above 1, param2 1 gives kind 1", 1.5, 1.0, {1.0, 2.0}, 1, 3.0},
      {"both above 1 give kind 2", 1.5, 1.01, {1.0, 2.0}, 2, 3.0},
      {"mean exactly 3 stays kind 0", 0.5, 0.5, {2.5, 3.5}, 0, 3.0},
      {"mean 3.01 makes kind 1", 0.5, 0.5, {3.0, 3.02}, 1, (3.0 + 3.02) / 2},
      {"kind 1 keeps a large total", 2.0, 0.0, {4.0, 4.0}, 1, 8.0},
  };
  // Finalised both when the next header comes and at the end of the file.
  for (const bool last : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (last ? ", last in the file" : ", followed by another"));
      std::vector<TrajectorySampleLine> samples;
      for (std::size_t i = 0; i < c.scores.size(); ++i) {
        samples.push_back(SampleAt(20 + static_cast<std::int32_t>(i), c.scores[i]));
      }
      std::vector<TrajectoryRecord> records = {TrajectoryOf(3, {SampleAt(15, 9.0)}, 0.5, 0.5, 0.5),
                                               TrajectoryOf(7, samples, c.param1, c.param2, 0.5)};
      if (!last) records.push_back(TrajectoryOf(8, {SampleAt(30, 1.0)}, 0.5, 0.5, 0.5));
      TrajectoryFixture fixture;
      fixture.Write(records);
      ASSERT_TRUE(fixture.Load());
      ASSERT_EQ(fixture.store.trajectoryCount(), last ? 2 : 3);
      const TrajectoryHeader& header = fixture.store.trajectories[1].header;
      EXPECT_EQ(header.id, 7);
      EXPECT_EQ(header.kind, c.kind);
      EXPECT_DOUBLE_EQ(header.score, c.score);
      EXPECT_EQ(header.param1, c.param1);
      EXPECT_EQ(header.param2, c.param2);
    }
  }
}

TEST_F(TrajectoryFileTest, ScoreCountsOnlyStoredSamples) {
  // Frames 5 and 60 lie outside the point file's 10 to 59.
  Write({TrajectoryOf(1, {SampleAt(5, 100.0), SampleAt(20, 2.0), SampleAt(60, 100.0), SampleAt(21, 4.0)})});
  ASSERT_TRUE(Load());
  EXPECT_EQ(store.trajectories[0].header.score, 3.0);
  EXPECT_EQ(store.trajectories[0].header.kind, 0);
}

// --- Frame numbers ----------------------------------------------------------------------

TEST_F(TrajectoryFileTest, RenumbersSegmentsAcrossAllTrajectories) {
  TrajectoryFixture wide(0, 59);
  // The base comes from the line just before a raw 0, not from the largest frame so far.
  wide.Write({TrajectoryOf(1, {SampleAt(5), SampleAt(6)}),
              TrajectoryOf(2, {SampleAt(0), SampleAt(1)}),
              TrajectoryOf(3, {SampleAt(2), SampleAt(9), SampleAt(3)}),
              TrajectoryOf(4, {SampleAt(0)})});
  ASSERT_TRUE(wide.Load());
  EXPECT_EQ(StoredFrames(wide.store), (Frames{{5, 6}, {7, 8}, {9, 16, 10}, {11}}));
}

TEST_F(TrajectoryFileTest, SkippedSamplesStillSetTheSegmentBase) {
  TrajectoryFileReport report;
  // 9 lies before the frames (10 to 59), 60 + 10 and 71 after them; each still moves the
  // numbering, and a negative raw number after a segment start is just an offset into it.
  Write({TrajectoryOf(1, {SampleAt(9), SampleAt(0), SampleAt(1)}),
         TrajectoryOf(2, {SampleAt(60), SampleAt(0), SampleAt(-40)})});
  ASSERT_TRUE(Load({}, &report));
  EXPECT_EQ(StoredFrames(store), (Frames{{10, 11}, {31}}));
  EXPECT_EQ(report.samplesStored, 3u);
  EXPECT_EQ(report.samplesOutOfRange, 3u);
}

TEST_F(TrajectoryFileTest, FramesPast32BitsAreOutOfRangeWithoutWrapping) {
  constexpr std::int32_t kTop = INT32_MAX;
  TrajectoryFixture top(kTop - 1, kTop);
  TrajectoryFileReport report;
  // 2^31 after the raw 0 would wrap to the most negative frame in 32 bits.
  top.Write({TrajectoryOf(1, {SampleAt(kTop), SampleAt(0), SampleAt(-1), SampleAt(-2)})});
  ASSERT_TRUE(top.Load({}, &report));
  EXPECT_EQ(StoredFrames(top.store), (Frames{{kTop, kTop, kTop - 1}}));
  EXPECT_EQ(report.samplesOutOfRange, 1u);
  EXPECT_EQ(top.store.frameTrajectoryIndex[1].count, 2);
}

// --- Table entries ----------------------------------------------------------------------

TEST_F(TrajectoryFileTest, TrajectoryWithoutStoredSamplesGivesItsEntryToTheNext) {
  struct Case {
    const char* name;
    std::vector<TrajectoryRecord> records;
    std::vector<std::int32_t> ids;
    Frames frames;
  };
  const std::vector<Case> cases = {
      {"no sample lines", {TrajectoryOf(1, {}), TrajectoryOf(2, {SampleAt(20)})}, {2}, {{20}}},
      {"all samples out of range",
       {TrajectoryOf(1, {SampleAt(3), SampleAt(70)}, 2.0, 2.0), TrajectoryOf(2, {SampleAt(20)})}, {2}, {{20}}},
      {"in the middle",
       {TrajectoryOf(1, {SampleAt(20)}), TrajectoryOf(2, {}), TrajectoryOf(3, {}), TrajectoryOf(4, {SampleAt(21)})},
       {1, 4}, {{20}, {21}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    fixture.Write(c.records);
    ASSERT_TRUE(fixture.Load());
    EXPECT_EQ(StoredFrames(fixture.store), c.frames);
    std::vector<std::int32_t> ids;
    for (const auto& trajectory : fixture.store.trajectories) {
      ids.push_back(trajectory.header.id);
      // The entry carries the header of the trajectory whose samples it holds.
      for (const TrajectorySample& sample : trajectory.samples) EXPECT_EQ(sample.trajectoryId, trajectory.header.id);
    }
    EXPECT_EQ(ids, c.ids);
  }
}

TEST_F(TrajectoryFileTest, TakenOverEntryGetsTheKindOfItsNewHeader) {
  Write({TrajectoryOf(1, {SampleAt(70)}, 1.5, 1.5), TrajectoryOf(2, {SampleAt(20, 1.0)}, 0.5, 0.5)});
  ASSERT_TRUE(Load());
  ASSERT_EQ(store.trajectoryCount(), 1);
  EXPECT_EQ(store.trajectories[0].header.kind, 0);
  EXPECT_EQ(store.trajectories[0].header.param1, 0.5);
}

TEST_F(TrajectoryFileTest, EmptyAndHeaderOnlyFilesLoadWithoutPairs) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::int32_t entries;
  };
  const std::vector<Case> cases = {
      {"empty file", {}, 0},
      {"blank lines", {"", "  ", ""}, 0},
      {"headers only", {"trajectory 1 0 1.5 2.5 0.5", "trajectory 2 0 0.5 0.5 0.5"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    fixture.WriteLines(c.lines);
    ASSERT_TRUE(fixture.Load());
    EXPECT_EQ(fixture.store.trajectoryCount(), c.entries);
    EXPECT_TRUE(fixture.store.frameTrajectoryList.empty());
    EXPECT_EQ(fixture.store.frameTrajectoryIndex.size(), 50u);
    EXPECT_TRUE(IndexAllZero(fixture.store));
    EXPECT_TRUE(fixture.messages.shown.empty());
  }
}

TEST_F(TrajectoryFileTest, HeaderOnlyEntryKeepsTheHeaderThatCreatedIt) {
  WriteLines({"trajectory 1 0 1.5 2.5 0.5", "trajectory 2 0 0.5 0.5 0.5"});
  ASSERT_TRUE(Load());
  ASSERT_EQ(store.trajectoryCount(), 1);
  EXPECT_EQ(store.trajectories[0].header, (TrajectoryHeader{1, 2, 1.5, 2.5, 0.5, 0.0}));
  EXPECT_EQ(store.trajectories[0].sampleCount(), 0);
}

// --- The per-frame index after a load ---------------------------------------------------

TEST_F(TrajectoryFileTest, SamplesOfOneFrameAppearInTrajectoryOrder) {
  Write({TrajectoryOf(1, {SampleAt(20), SampleAt(21)}), TrajectoryOf(2, {SampleAt(20)}),
         TrajectoryOf(3, {SampleAt(59), SampleAt(10)})});
  ASSERT_TRUE(Load());
  const auto run = [&](std::int32_t frame) {
    const FrameTrajectoryIndex entry = store.frameTrajectoryIndex[static_cast<std::size_t>(frame - 10)];
    return std::vector<FrameTrajectoryList>(store.frameTrajectoryList.begin() + entry.first,
                                            store.frameTrajectoryList.begin() + entry.first + entry.count);
  };
  EXPECT_EQ(run(20), (std::vector<FrameTrajectoryList>{{0, 0}, {1, 0}}));
  EXPECT_EQ(run(21), (std::vector<FrameTrajectoryList>{{0, 1}}));
  EXPECT_EQ(run(10), (std::vector<FrameTrajectoryList>{{2, 1}}));
  EXPECT_EQ(run(59), (std::vector<FrameTrajectoryList>{{2, 0}}));
  EXPECT_TRUE(run(30).empty());
  EXPECT_EQ(store.frameTrajectoryList.size(), 5u);
}

TEST_F(TrajectoryFileTest, FrameWithMorePairsThanAnIndexEntryCountsKeepsLaterFramesExact) {
  constexpr std::int32_t kPairs = kMaxPairsPerSlot + 3;
  TrajectoryRecord crowded = TrajectoryOf(1, {});
  crowded.samples.assign(kPairs, SampleAt(20));
  crowded.samples.push_back(SampleAt(21));
  Write({crowded});
  TrajectoryFileReport report;
  ASSERT_TRUE(Load({}, &report));
  EXPECT_EQ(report.cappedSlots, 1u);
  EXPECT_EQ(store.frameTrajectoryIndex[10].first, 0);
  EXPECT_EQ(store.frameTrajectoryIndex[10].count, kMaxPairsPerSlot);
  const FrameTrajectoryIndex after = store.frameTrajectoryIndex[11];
  EXPECT_EQ(after.first, kPairs);
  EXPECT_EQ(after.count, 1);
  EXPECT_EQ(store.frameTrajectoryList[static_cast<std::size_t>(after.first)], (FrameTrajectoryList{0, kPairs}));
}

TEST_F(TrajectoryFileTest, ReloadingStartsFromAnEmptyIndex) {
  Write({TrajectoryOf(1, {SampleAt(20), SampleAt(21)})});
  ASSERT_TRUE(Load());
  ASSERT_EQ(store.frameTrajectoryIndex[10].count, 1);

  std::filesystem::remove(TrajectoryPath());
  EXPECT_FALSE(LoadTrajectoryFile(store, Video(), messages));
  EXPECT_EQ(store.trajectoryCount(), 0);
  EXPECT_TRUE(store.frameTrajectoryList.empty());
  EXPECT_TRUE(IndexAllZero(store));
}

TEST_F(TrajectoryFileTest, ALoadKeepsItsSamplesTogetherAndAReloadLetsThemGo) {
  Write({TrajectoryOf(1, {SampleAt(20), SampleAt(21)}), TrajectoryOf(2, {SampleAt(22)})});
  ASSERT_TRUE(Load());
  const std::weak_ptr<SampleMemory> first = store.trajectories[0].samples.get_allocator().memory();
  ASSERT_FALSE(first.expired());
  EXPECT_EQ(store.trajectories[1].samples.get_allocator().memory(), first.lock());

  ASSERT_TRUE(Load());
  EXPECT_TRUE(first.expired());
  EXPECT_EQ(store.trajectories[1].samples[0].frame, 22);
}

// Every line form in a random order, several hundred kilobytes of them: sample lines in and
// out of the frame range, segment restarts, malformed and over-long lines, short headers.
std::vector<std::string> MixedTrajectoryLines(std::size_t count) {
  std::mt19937 generator(11);
  const auto random = [&generator](std::uint32_t below) { return static_cast<std::int32_t>(generator() % below); };
  std::vector<std::string> lines = {SampleText(12)};  // before any header
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t pick = random(20);
    const std::int32_t frame = random(70);
    if (pick < 2) {
      lines.push_back(testing::FormatTrajectoryHeader(TrajectoryOf(static_cast<std::int32_t>(i), {}, 0.5 * pick, 2.0, 0.3)));
    } else if (pick == 2) {
      lines.push_back("trajectory 9");
    } else if (pick == 3) {
      lines.push_back("frame=" + std::to_string(frame) + " time=5 x1=0.5");
    } else if (pick == 4) {
      lines.push_back(SampleText(frame) + std::string(static_cast<std::size_t>(random(400)), ' '));
    } else if (pick == 5) {
      lines.push_back(pick % 2 ? "" : "# a note");
    } else {
      lines.push_back(SampleText(pick == 6 ? 0 : frame, 0.25 * random(16), random(3)));
    }
  }
  return lines;
}

// Frames wide enough for the segments of a long mixed file, though not for all of them.
class LongTrajectoryFileTest : public ::testing::Test, public TrajectoryFixture {
 public:
  LongTrajectoryFileTest() : TrajectoryFixture(10, 12000) {}
};

TEST_F(LongTrajectoryFileTest, LoadsTheSameWhateverPartsTheFileIsReadIn) {
  WriteLines(MixedTrajectoryLines(6000), LineEnd::CrLf);
  TrajectoryFileReport wholeReport;
  ASSERT_TRUE(Load({.chunkBytes = std::size_t{1} << 30}, &wholeReport));
  const TrackStore whole = store;
  ASSERT_GT(whole.frameTrajectoryList.size(), 1000u);
  ASSERT_GT(wholeReport.samplesOutOfRange, 0u);
  for (const std::size_t chunkBytes : {std::size_t{1}, std::size_t{4096}, TrajectoryFileLimits{}.chunkBytes}) {
    SCOPED_TRACE(chunkBytes);
    TrajectoryFileReport report;
    ASSERT_TRUE(Load({.chunkBytes = chunkBytes}, &report));
    EXPECT_EQ(report, wholeReport);
    ASSERT_EQ(store.trajectoryCount(), whole.trajectoryCount());
    for (std::size_t t = 0; t < whole.trajectories.size(); ++t) {
      EXPECT_EQ(store.trajectories[t].header, whole.trajectories[t].header);
      EXPECT_EQ(store.trajectories[t].samples, whole.trajectories[t].samples);
    }
    EXPECT_EQ(store.frameTrajectoryList, whole.frameTrajectoryList);
    EXPECT_EQ(store.frameTrajectoryIndex, whole.frameTrajectoryIndex);
  }
  EXPECT_TRUE(messages.shown.empty());
}

// --- Lines outside the format -----------------------------------------------------------

TEST_F(TrajectoryFileTest, SampleLinesBeforeTheFirstHeaderAreSkippedButNumbered) {
  WriteLines({SampleText(20), SampleText(21), "trajectory 1 0 0.5 0.5 0.5", SampleText(0)});
  TrajectoryFileReport report;
  ASSERT_TRUE(Load({}, &report));
  EXPECT_EQ(StoredFrames(store), (Frames{{22}}));
  EXPECT_EQ(report.samplesBeforeFirstHeader, 2u);
  EXPECT_EQ(report.samplesStored, 1u);
}

TEST_F(TrajectoryFileTest, ShortHeaderStartsATrajectoryOfItsOwn) {
  struct Case {
    const char* header;
    std::int32_t id;
    double param1;
    std::int32_t kind;
  };
  const std::vector<Case> cases = {
      {"trajectory 9 0 1.5", 9, 1.5, 1},
      {"trajectory 9", 9, 0.0, 0},
      {"trajectory", 0, 0.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    TrajectoryFixture fixture;
    fixture.WriteLines({"trajectory 1 0 0.5 0.5 0.5", SampleText(20), c.header, SampleText(21)});
    TrajectoryFileReport report;
    ASSERT_TRUE(fixture.Load({}, &report));
    EXPECT_EQ(StoredFrames(fixture.store), (Frames{{20}, {21}}));
    const TrajectoryHeader& header = fixture.store.trajectories[1].header;
    EXPECT_EQ(header.id, c.id);
    EXPECT_EQ(header.param1, c.param1);
    EXPECT_EQ(header.param2, 0.0);
    EXPECT_EQ(header.param3, 0.0);
    EXPECT_EQ(header.kind, c.kind);
    EXPECT_EQ(report.headerLines, 2u);
    EXPECT_EQ(report.malformedHeaderLines, 1u);
  }
}

TEST_F(TrajectoryFileTest, MalformedSampleLinesAreSkippedButNumbered) {
  const std::string full = SampleText(30);
  const std::string lastTokenCut = full.substr(0, full.rfind(' '));
  const std::size_t y1 = full.find(" y1=");
  std::string shortToken = full;
  shortToken.replace(y1, full.find(' ', y1 + 1) - y1, " y1");
  struct Case {
    const char* name;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"eleven tokens", lastTokenCut},
      {"a token shorter than its prefix", shortToken},
      {"the keyword alone", "frame="},
      {"frame and time only", "frame=30 time=100"},
      {"score token too short", full.substr(0, full.find(" score=")) + " score breakflg=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    // The malformed line is raw frame 30 (0 for the bare keyword): the raw 0 after it shows
    // that it still moved the numbering.
    fixture.WriteLines({"trajectory 1 0 0.5 0.5 0.5", SampleText(20), c.line, SampleText(0)});
    TrajectoryFileReport report;
    ASSERT_TRUE(fixture.Load({}, &report));
    const std::int32_t moved = c.line == "frame=" ? 22 : 31;
    EXPECT_EQ(StoredFrames(fixture.store), (Frames{{20, moved}}));
    EXPECT_EQ(report.malformedSampleLines, 1u);
    EXPECT_EQ(report.samplesStored, 2u);
  }
}

TEST_F(TrajectoryFileTest, TokenExactlyAsLongAsItsPrefixReadsAsZero) {
  WriteLines({"trajectory 1 0 0.5 0.5 0.5",
              "frame=20 time= x1= y1=0.5 x2=0.5 y2=0.5 x3=0.5 y3=0.5 x4=0.5 y4= score= breakflg="});
  ASSERT_TRUE(Load());
  ASSERT_EQ(StoredFrames(store), (Frames{{20}}));
  const TrajectorySample& sample = store.trajectories[0].samples[0];
  EXPECT_EQ(sample.clockMs, 0);
  EXPECT_EQ(sample.corners[0], (TrackPoint{0.0, 0.5}));
  EXPECT_EQ(sample.corners[3], (TrackPoint{0.5, 0.0}));
  EXPECT_EQ(sample.centre, (TrackPoint{0.375, 0.375}));
  EXPECT_EQ(sample.score, 0.0);
  EXPECT_EQ(sample.breakFlag, 0);
}

TEST_F(TrajectoryFileTest, PrefixCharactersAreNotLookedAt) {
  WriteLines({"trajectory 1 0 0.5 0.5 0.5",
              "frame=20 T0000-7 ab:0.25 cd:0.5 ef:0.5 gh:0.5 ij:0.5 kl:0.5 mn:0.5 op:0.5 xxxxxx0.9 yyyyyyyyy2"});
  ASSERT_TRUE(Load());
  ASSERT_EQ(StoredFrames(store), (Frames{{20}}));
  const TrajectorySample& sample = store.trajectories[0].samples[0];
  EXPECT_EQ(sample.clockMs, -7);
  EXPECT_EQ(sample.corners[0], (TrackPoint{0.25, 0.5}));
  EXPECT_EQ(sample.score, 0.9);
  EXPECT_EQ(sample.breakFlag, 1);
}

// --- Failures ---------------------------------------------------------------------------

TEST_F(TrajectoryFileTest, PathFailuresNameThePath) {
  EXPECT_FALSE(LoadTrajectoryFile(store, "clip.avi", messages));
  EXPECT_FALSE(LoadTrajectoryFile(store, Video(), messages));
  std::filesystem::create_directory(TrajectoryPath());
  EXPECT_FALSE(LoadTrajectoryFile(store, Video(), messages));
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{{"Invalid filename.", "clip.avi"},
                                                      {"File open failed.", TrajectoryPath()},
                                                      {"File open failed.", TrajectoryPath()}}));
}

TEST_F(TrajectoryFileTest, EveryAllocationFailureIsReported) {
  const std::uint64_t table = GrownCapacity(0) * sizeof(Trajectory);
  // A trajectory's samples are collected in one growing array, then stored at their exact size.
  const std::uint64_t collected = GrownCapacity(0) * sizeof(TrajectorySample);
  const std::uint64_t first = 2 * sizeof(TrajectorySample);
  const std::uint64_t second = sizeof(TrajectorySample);
  const std::uint64_t samples = collected + first + second;
  const std::uint64_t list = 3 * sizeof(FrameTrajectoryList);
  const std::uint64_t counters = 50 * sizeof(std::uint32_t);
  const UserMessage growth{"Failed in allocating memory for TRAJ data.", "Error"};
  struct Case {
    const char* name;
    std::uint64_t budget;
    bool loaded;
    std::vector<UserMessage> shown;
    Frames frames;  // what the table holds afterwards
    bool listExists;
  };
  const UserMessage loadFailed{"Load trajectories failed.", TrajectoryPath()};
  const std::vector<Case> cases = {
      {"table", table - 1, false, {growth, loadFailed}, {}, false},
      {"collecting samples", table + collected - 1, false, {growth, loadFailed}, {{}}, false},
      {"first sample array", table + collected + first - 1, false, {growth, loadFailed}, {{}}, false},
      {"second sample array", table + samples - 1, false, {growth, loadFailed}, {{20, 21}, {}}, false},
      {"list", table + samples + list - 1, false,
       {{"Memory failure in allocing for tcl index.", "Error"}}, {{20, 21}, {22}}, false},
      {"counters", table + samples + list + counters - 1, true,
       {{"Memory failure in generating trj index.", "Error"}}, {{20, 21}, {22}}, true},
      {"enough", table + samples + list + counters, true, {}, {{20, 21}, {22}}, true},
  };
  Write({TrajectoryOf(1, {SampleAt(20), SampleAt(21)}), TrajectoryOf(2, {SampleAt(22)})});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.shown.clear();
    const bool loaded = Load(TrajectoryFileLimits{c.budget});
    EXPECT_EQ(loaded, c.loaded);
    // The point file's loading showed nothing; every message is the trajectory file's.
    EXPECT_EQ(messages.shown, c.shown);
    EXPECT_EQ(StoredFrames(store), c.frames);
    EXPECT_EQ(store.frameTrajectoryList.size(), c.listExists ? 3u : 0u);
    if (c.shown.empty()) {
      EXPECT_EQ(store.frameTrajectoryIndex[10].count, 1);
    } else {
      EXPECT_TRUE(IndexAllZero(store));
    }
    EXPECT_EQ(store.pointFrameCount(), 2);
  }
}

}  // namespace
}  // namespace ostrel
