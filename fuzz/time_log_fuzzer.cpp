// Reads arbitrary bytes as the camera log of a video, checks that what the reader reports
// agrees with the offset it set, and that the correction it read survives timeadj.log.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_check.h"
#include "clock/time_adjust_log.h"
#include "clock/time_log.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace {

using ostrel::fuzzing::Require;
using ostrel::testing::DiscardMessages;

void CheckReport(const ostrel::TimeLogReport& report, const ostrel::ClockOffset& before,
                 const ostrel::ClockOffset& after) {
  std::size_t lastLine = 0;
  for (const ostrel::TimeLogCorrectionRead& correction : report.corrections) {
    Require(correction.lineNumber >= lastLine && correction.lineNumber > 0);
    Require(correction.sign == 1 || correction.sign == -1);
    lastLine = correction.lineNumber;
  }
  const std::int32_t expectedAdjust =
      report.corrections.empty() ? before.adjustMs : report.corrections.back().adjustMs;
  Require(after.adjustMs == expectedAdjust);
  Require(after.startMs == (report.videoLine ? report.videoLine->startMs : before.startMs));
  Require(!(report.videoLine && report.unknownSignLine));
}

// timeadj.log, read as a camera log, gives back the correction it was written from.
void CheckRoundTrip(const ostrel::testing::TempFolder& folder, const ostrel::ClockOffset& offset) {
  DiscardMessages messages;
  Require(ostrel::WriteTimeAdjustLog(offset, folder.path().string(), messages));
  std::filesystem::rename(folder.path() / "timeadj.log", folder.path() / "cam07_.log");
  ostrel::ClockOffset reread{offset.startMs, offset.adjustMs ^ 1};
  Require(ostrel::ReadTimeLog(reread, folder.File("cam07_012.avi"), messages));
  Require(reread == offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ostrel::testing::TempFolder folder;
  ostrel::testing::WriteFileBytes(folder.File("cam07_.log"),
                                  std::string(reinterpret_cast<const char*>(data), size));
  DiscardMessages messages;
  const ostrel::ClockOffset before{-7, 3};
  ostrel::ClockOffset offset = before;
  ostrel::TimeLogReport report;
  Require(ostrel::ReadTimeLog(offset, folder.File("cam07_012.avi"), messages, &report));
  CheckReport(report, before, offset);
  CheckRoundTrip(folder, offset);
  return 0;
}
