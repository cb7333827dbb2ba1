#pragma once

#include <string>
#include <string_view>

#include "clock/clock_offset.h"
#include "track/message_sink.h"

namespace ostrel {

inline constexpr std::string_view kTimeAdjustLogName = "timeadj.log";
inline constexpr std::string_view kTimeAdjustWriteFailedText =
    "The time adjustment could not be saved to timeadj.log.";

// The whole content of timeadj.log for `offset`: one correction line in the form a camera
// log accepts, "TIMEADJ\t<sign>\th:m:s:ms\r\n" with the fields of |adjustMs| unpadded and "+"
// also for 0. The line ends as a Windows text file does, so the file stays byte-identical
// to the one the tracker's older Windows tools wrote.
std::string FormatTimeAdjustLog(const ClockOffset& offset);

// Replaces "<folder>/timeadj.log" with the correction in `offset`. The new content goes to
// a temporary file in the same folder first and is then renamed over the old file, so an
// interruption leaves either the old or the new content. A failure is reported with the
// path of timeadj.log as caption and leaves no temporary file behind.
bool WriteTimeAdjustLog(const ClockOffset& offset, std::string_view folder, MessageSink& messages);

}  // namespace ostrel
