#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clock/clock_offset.h"
#include "clock/time_log_line.h"
#include "track/companion_paths.h"
#include "track/message_sink.h"

namespace ostrel {

inline constexpr std::string_view kLogOpenFailedText = "Failed in open LOG file.";
inline constexpr std::string_view kUnknownCorrectionText = "Unknown TIMEADJ";
inline constexpr std::string_view kWarningCaption = "Warning";

// Line numbers count the lines of the file from 1. A line longer than the reader's pieces is
// read as several pieces, each treated as a line of its own, but they share its number.

struct TimeLogCorrectionRead {
  std::size_t lineNumber = 0;
  std::int32_t sign = 0;
  LogClockTime time;
  std::int32_t adjustMs = 0;  // what the line set
};

struct TimeLogVideoLineRead {
  std::size_t lineNumber = 0;
  LogClockTime time;
  ClockMs startMs = 0;  // the video's start with the correction in force at that line
};

// What a reading met, for tools that explain a log to a person.
struct TimeLogReport {
  std::string logPath;  // empty when the video path gave none
  std::vector<TimeLogCorrectionRead> corrections;  // in the order read, each replacing the last
  std::optional<TimeLogVideoLineRead> videoLine;    // absent when the reading never met it
  std::optional<std::size_t> unknownSignLine;       // the line where an unknown sign ended it
  bool readError = false;                           // the file could not be read to its end
};

// Reads the camera log beside a video ("<folder>/<stem>.log", the stem being the video's name
// without its trailing digits) and sets `offset` from it: each correction line before the
// video's own line replaces adjustMs; the video's line sets startMs to its time plus
// adjustMs and ends the reading. Without a line for the video startMs stays as it was.
// Fails, with a message, only when there is no log to read; a correction line with an
// unknown sign ends the reading with a warning but still succeeds.
bool ReadTimeLog(ClockOffset& offset, std::string_view videoPath, MessageSink& messages,
                 TimeLogReport* report = nullptr, char separator = kPathSeparator);

}  // namespace ostrel
