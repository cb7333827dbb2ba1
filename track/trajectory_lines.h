#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "track/track_store.h"

namespace ostrel {

// The line forms of the trajectory file (".traj"): a header line starts a trajectory, the
// sample lines below it give its box, score and break flag in one frame each.
inline constexpr std::string_view kHeaderKeyword = "trajectory";
inline constexpr std::string_view kSampleKeyword = "frame=";
inline constexpr std::string_view kTrajectoryDelimiters = " ,\t\n";

inline constexpr std::size_t kHeaderTokens = 6;
inline constexpr std::size_t kSampleTokens = 12;
// Characters at the start of each sample token that are passed over unread ("frame=",
// "time=", "x1=", ... "score=", "breakflg="); only their lengths are fixed.
inline constexpr std::array<std::size_t, kSampleTokens> kSampleTokenPrefixes = {
    6, 5, 3, 3, 3, 3, 3, 3, 3, 3, 6, 9};

// The fewest characters a sample line with all its tokens can take, its line end included:
// each token as long as its prefix, one delimiter between tokens. A file cannot hold more of
// them than its size over this.
inline constexpr std::size_t kShortestCompleteSampleLine = [] {
  std::size_t characters = kSampleTokens;  // the delimiters and the line end
  for (const std::size_t prefix : kSampleTokenPrefixes) characters += prefix;
  return characters;
}();

enum class TrajectoryLineKind { Header, Sample, Other };

// A line matches by its first characters, whatever their case; a leading blank matches neither.
TrajectoryLineKind ClassifyTrajectoryLine(std::string_view line);

// Splits a line at runs of the file's delimiters into at most tokens.size() tokens; returns
// how many it found. The tokens point into the line.
std::size_t SplitTrajectoryTokens(std::string_view line, std::span<std::string_view> tokens);

// 0 when param1 is not above 1, else 2 when param2 is above 1, else 1.
std::int32_t TrajectoryKind(double param1, double param2);

struct HeaderLine {
  TrajectoryHeader header;  // id, params and kind; score 0
  bool complete = false;    // false when the line has fewer than six tokens
};

// Reads a header line. Missing values read as 0: a short header still starts a trajectory of
// its own, so that its samples never join the one before it.
HeaderLine ReadHeaderLine(std::string_view line);

struct SampleLine {
  std::int32_t rawFrame = 0;  // per segment; always read, since the line starts with "frame="
  // False when the line has fewer than twelve tokens or a token is shorter than the
  // characters it must skip; a token exactly as long reads as 0.
  bool complete = false;
  TrajectorySample values;  // clock, corners, centre, score and break flag, when complete
};

// Reads a sample line in one pass, never looking outside it.
SampleLine ReadSampleLine(std::string_view line);

// The centre of a sample's box, as every reader of sample lines works it out.
inline TrackPoint BoxCentre(const TrackPoint (&corners)[4]) {
  return {(corners[0].x + corners[1].x + corners[2].x + corners[3].x) * 0.25,
          (corners[0].y + corners[1].y + corners[2].y + corners[3].y) * 0.25};
}

// A header or sample line as read, before it joins the store.
using TrajectoryLineRead = std::variant<HeaderLine, SampleLine>;

// Which readers take the sample lines: the quickest this processor runs, or the general reader
// alone. Both give the same lines; the second is there to compare them.
enum class SampleLineReaders { Quickest, GeneralOnly };

// Reads the header and sample lines of `text`, which ends where a line piece ends, in file
// order into `lines` (replacing what it held); other lines leave nothing.
void ReadTrajectoryLines(std::string_view text, std::vector<TrajectoryLineRead>& lines,
                         SampleLineReaders readers = SampleLineReaders::Quickest);

}  // namespace ostrel
