#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace ostrel::testing {

// "h:m:s:ms" of a camera log; minutes and seconds are written with two digits and the
// milliseconds with three, as the cameras write them.
struct LogTime {
  std::int64_t hours = 0;
  std::int64_t minutes = 0;
  std::int64_t seconds = 0;
  std::int64_t milliseconds = 0;
};

// "TIMEADJ <sign> h:m:s:ms"
struct CorrectionLine {
  char sign = '+';
  LogTime time;
};

// "<name> h:m:s:ms": where the video `name` starts on the recording clock.
struct VideoLine {
  std::string name;
  LogTime time;
};

// A line written exactly as given (without its line end), for forms the others cannot make.
struct RawLine {
  std::string text;
};

using TimeLogEntry = std::variant<CorrectionLine, VideoLine, RawLine>;

struct TimeLogStyle {
  bool crlf = false;       // "\r\n" instead of "\n" after every line
  bool useSpaces = false;  // one space instead of one tab between the tokens
};

std::string EncodeTimeLog(const std::vector<TimeLogEntry>& entries, TimeLogStyle style = {});

// Writes the log to `path`; throws std::runtime_error when it cannot.
void WriteTimeLog(const std::filesystem::path& path, const std::vector<TimeLogEntry>& entries,
                  TimeLogStyle style = {});

}  // namespace ostrel::testing
