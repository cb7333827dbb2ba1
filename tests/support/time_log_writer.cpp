#include "tests/support/time_log_writer.h"

#include <cstdio>

#include "tests/support/point_file_writer.h"

namespace ostrel::testing {
namespace {

std::string FormatTime(const LogTime& time) {
  char text[96];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld:%03lld", static_cast<long long>(time.hours),
                static_cast<long long>(time.minutes), static_cast<long long>(time.seconds),
                static_cast<long long>(time.milliseconds));
  return text;
}

struct LineText {
  char separator;

  std::string operator()(const CorrectionLine& line) const {
    return std::string("TIMEADJ") + separator + line.sign + separator + FormatTime(line.time);
  }
  std::string operator()(const VideoLine& line) const {
    return line.name + separator + FormatTime(line.time);
  }
  std::string operator()(const RawLine& line) const { return line.text; }
};

}  // namespace

std::string EncodeTimeLog(const std::vector<TimeLogEntry>& entries, TimeLogStyle style) {
  const LineText lineText{style.useSpaces ? ' ' : '\t'};
  std::string bytes;
  for (const TimeLogEntry& entry : entries) {
    bytes += std::visit(lineText, entry);
    bytes += style.crlf ? "\r\n" : "\n";
  }
  return bytes;
}

void WriteTimeLog(const std::filesystem::path& path, const std::vector<TimeLogEntry>& entries,
                  TimeLogStyle style) {
  WriteFileBytes(path, EncodeTimeLog(entries, style));
}

}  // namespace ostrel::testing
