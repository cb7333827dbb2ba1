#include "clock/time_log_line.h"

#include "track/decimal_text.h"
#include "track/text_tokens.h"

namespace ostrel {
namespace {

constexpr std::string_view kCorrectionKeyword = "TIMEADJ";

// The pieces come without their line end; "\n" stays in the sets so they read as the log's
// writers have always described them.
constexpr std::string_view kFirstTokenEnds = " ,\t\n";
constexpr std::string_view kSignAndHoursEnds = " \t:\n";
// Minutes, seconds and milliseconds may hold spaces: only a colon ends them.
constexpr std::string_view kSmallFieldEnds = ":\n";

// Reads hours to milliseconds; a line that ends early leaves the rest at 0.
LogClockTime ReadClockTime(TextTokens& tokens) {
  LogClockTime time;
  time.hours = ReadDecimalLow16(tokens.Next(kSignAndHoursEnds));
  time.minutes = ReadDecimalLow16(tokens.Next(kSmallFieldEnds));
  time.seconds = ReadDecimalLow16(tokens.Next(kSmallFieldEnds));
  time.milliseconds = ReadDecimalLow16(tokens.Next(kSmallFieldEnds));
  return time;
}

// Only the first character of the sign token counts, so "+1" is a plus that swallows the
// hours written with it.
std::int32_t SignOf(std::string_view token) {
  if (token.empty()) return 0;
  if (token.front() == '+') return 1;
  if (token.front() == '-') return -1;
  return 0;
}

}  // namespace

std::int32_t DurationMs(const LogClockTime& time) {
  const auto hours = static_cast<std::uint32_t>(time.hours);
  const auto minutes = static_cast<std::uint32_t>(time.minutes);
  const auto seconds = static_cast<std::uint32_t>(time.seconds);
  const auto milliseconds = static_cast<std::uint32_t>(time.milliseconds);
  return static_cast<std::int32_t>(((hours * 60u + minutes) * 60u + seconds) * 1000u + milliseconds);
}

TimeLogLine ParseTimeLogLine(std::string_view piece, std::string_view videoName) {
  TimeLogLine line;
  if (StartsWithNoCase(piece, kCorrectionKeyword)) {
    TextTokens tokens(piece);
    tokens.Next(kFirstTokenEnds);
    line.sign = SignOf(tokens.Next(kSignAndHoursEnds));
    if (line.sign == 0) {
      line.kind = TimeLogLineKind::UnknownCorrection;
      return line;
    }
    line.kind = TimeLogLineKind::Correction;
    line.time = ReadClockTime(tokens);
    return line;
  }
  if (StartsWithNoCase(piece, videoName)) {
    TextTokens tokens(piece);
    tokens.Next(kFirstTokenEnds);
    line.kind = TimeLogLineKind::VideoStart;
    line.time = ReadClockTime(tokens);
  }
  return line;
}

}  // namespace ostrel
