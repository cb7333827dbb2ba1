#pragma once

#include <cstdint>
#include <string_view>

namespace ostrel {

// A time of day as a camera log writes it, "h:m:s:ms". Each field holds the low 16 bits of
// the number written (0 to 65535); fields are not limited to their usual range, so 70
// minutes stay 70 minutes.
struct LogClockTime {
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
  std::int32_t milliseconds = 0;

  bool operator==(const LogClockTime&) const = default;
};

// ((h x 60 + m) x 60 + s) x 1000 + ms, wrapping around in 32 bits.
std::int32_t DurationMs(const LogClockTime& time);

enum class TimeLogLineKind {
  Correction,         // "TIMEADJ <sign> h:m:s:ms"
  UnknownCorrection,  // "TIMEADJ" with a sign other than "+" or "-", or with none
  VideoStart,         // "<video name><anything> h:m:s:ms"
  Other,
};

struct TimeLogLine {
  TimeLogLineKind kind = TimeLogLineKind::Other;
  std::int32_t sign = 0;  // +1 or -1 for a correction, else 0
  LogClockTime time;      // for a correction or a video start
};

// Classifies one line piece of a camera log (without its line end) for the video named
// `videoName` (the file name without extension, trailing digits kept). The keyword and the
// name are compared from the piece's first character without regard to ASCII case, the name
// over its own length only.
TimeLogLine ParseTimeLogLine(std::string_view piece, std::string_view videoName);

}  // namespace ostrel
