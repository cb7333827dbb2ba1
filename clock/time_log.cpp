#include "clock/time_log.h"

#include "clock/wrapping_math.h"
#include "track/byte_source.h"
#include "track/companion_paths.h"
#include "track/text_lines.h"

namespace ostrel {
namespace {

// The log path for a video, or nothing after telling the user why there is none.
std::optional<std::string> TimeLogPath(std::string_view videoPath, char separator,
                                       MessageSink& messages, std::string& videoName) {
  VideoPathParts parts;
  if (!SplitVideoPath(videoPath, parts, separator)) {
    messages.Show({std::string(kInvalidFilenameText), std::string(videoPath)});
    return std::nullopt;
  }
  std::string stem = parts.name;
  if (!StripTrailingDigits(stem)) {
    messages.Show({std::string(kInvalidFilenameText), parts.name});
    return std::nullopt;
  }
  videoName = std::move(parts.name);
  return ComposeCompanionPath(parts.folder, stem, kTimeLogSuffix, separator);
}

// Counts the file's lines while the reader hands out pieces: a piece of full length was cut
// short, so the piece after it continues the same line.
class LineCounter {
 public:
  std::size_t Count(std::string_view piece) {
    if (!continues_) ++number_;
    continues_ = piece.size() == kLinePieceChars;
    return number_;
  }

 private:
  std::size_t number_ = 0;
  bool continues_ = false;
};

void ReadLines(TextLineReader& lines, std::string_view videoName, ClockOffset& offset,
               MessageSink& messages, TimeLogReport& report) {
  LineCounter counter;
  std::string_view piece;
  while (lines.Next(piece)) {
    const std::size_t lineNumber = counter.Count(piece);
    const TimeLogLine line = ParseTimeLogLine(piece, videoName);
    switch (line.kind) {
      case TimeLogLineKind::Correction: {
        const std::int32_t duration = DurationMs(line.time);
        offset.adjustMs = line.sign < 0 ? WrappingNegate(duration) : duration;
        report.corrections.push_back({lineNumber, line.sign, line.time, offset.adjustMs});
        break;
      }
      case TimeLogLineKind::UnknownCorrection:
        messages.Show({std::string(kUnknownCorrectionText), std::string(kWarningCaption)});
        report.unknownSignLine = lineNumber;
        return;
      case TimeLogLineKind::VideoStart:
        offset.startMs = WrappingAdd(DurationMs(line.time), offset.adjustMs);
        report.videoLine = TimeLogVideoLineRead{lineNumber, line.time, offset.startMs};
        return;
      case TimeLogLineKind::Other:
        break;
    }
  }
  report.readError = lines.failed();
}

}  // namespace

bool ReadTimeLog(ClockOffset& offset, std::string_view videoPath, MessageSink& messages,
                 TimeLogReport* report, char separator) {
  TimeLogReport facts;
  std::string videoName;
  const std::optional<std::string> logPath = TimeLogPath(videoPath, separator, messages, videoName);
  if (!logPath) {
    if (report) *report = std::move(facts);
    return false;
  }
  facts.logPath = *logPath;

  OpenedFile file;
  const bool opened = OpenForReading(logPath->c_str(), file);
  if (opened) {
    TextLineReader lines(file.handle.get());
    ReadLines(lines, videoName, offset, messages, facts);
  } else {
    messages.Show({std::string(kLogOpenFailedText), *logPath});
  }
  if (report) *report = std::move(facts);
  return opened;
}

}  // namespace ostrel
