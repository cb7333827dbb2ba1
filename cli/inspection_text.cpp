#include <iomanip>

#include "cli/inspection_format.h"

namespace ostrel::cli {
namespace {

const char* EndText(PointFileEnd end) {
  switch (end) {
    case PointFileEnd::Complete: return "read to its end";
    case PointFileEnd::CutShort: return "ends inside a record; that record was dropped";
    case PointFileEnd::Damaged: return "damaged";
    case PointFileEnd::ReadError: return "could not be read to its end";
  }
  return "";
}

void WriteCompanions(const Inspection& inspection, std::ostream& out) {
  out << "Video  " << inspection.video << "\n\nCompanion files\n";
  for (const CompanionFile& file : inspection.companions) {
    out << "  " << std::left << std::setw(16) << file.role << std::right << ' '
        << (file.path ? *file.path : "(the video's name gives none)") << "  "
        << (file.exists ? "present" : "missing") << '\n';
  }
}

void WriteTimeLog(const Inspection& inspection, std::ostream& out) {
  const TimeLogReport& log = inspection.timeLog;
  out << "\nCamera log\n";
  if (!inspection.timeLogRead) {
    out << "  not read: opening this video would stop here\n";
    return;
  }
  out << "  " << log.corrections.size() << " correction line(s) read";
  if (!log.corrections.empty()) out << ", the last on line " << log.corrections.back().lineNumber;
  out << '\n';
  if (log.unknownSignLine) out << "  reading ended at line " << *log.unknownSignLine << ": a correction with an unknown sign\n";
  if (log.videoLine) {
    out << "  the video's line is line " << log.videoLine->lineNumber << '\n';
  } else {
    out << "  no line for this video: startMs keeps its earlier value (0 in a fresh viewer)\n";
  }
  out << "  startMs " << inspection.offset.startMs << ", adjustMs " << inspection.offset.adjustMs << '\n';
}

void WritePoints(const Inspection& inspection, std::ostream& out) {
  out << "\nPoint file\n";
  if (!inspection.pointsRead) {
    out << "  not loaded\n";
    return;
  }
  const PointSummary& points = inspection.points;
  const PointFileReport& file = inspection.trackData.points;
  out << "  " << file.fileBytes << " bytes, " << EndText(file.end);
  if (file.end == PointFileEnd::Damaged) out << " at byte " << file.endOffset << " (" << file.damage << ')';
  if (file.lastPointsIncomplete) out << "; the last record's points end early (read as 0, 0)";
  out << "\n  " << points.records << " records, " << points.points << " points\n"
      << "  frames " << points.firstFrame << " to " << points.lastFrame << ", "
      << points.framesWithoutRecord << " without a record, " << points.duplicateRecords
      << " record(s) hidden by a later one of the same frame\n";
  if (points.records > 0) out << "  clock " << points.firstClock << " to " << points.lastClock << " ms\n";
  if (points.clockStepCount == 0) return;
  out << "  warning: the clock does not grow with the frame at " << points.clockStepCount
      << " place(s); frames near them may be shown at the wrong time\n";
  for (const ClockStep& step : points.clockSteps) {
    out << "    frame " << step.frame << " (" << step.clock << " ms) after frame " << step.previousFrame
        << " (" << step.previousClock << " ms)\n";
  }
  if (points.clockStepCount > static_cast<std::int64_t>(points.clockSteps.size())) out << "    ...\n";
}

void WriteTrajectories(const Inspection& inspection, std::ostream& out) {
  out << "\nTrajectory file\n";
  if (!inspection.pointsRead) {
    out << "  not read: its frames are those of the point file\n";
    return;
  }
  const TrajectoryFileReport& file = inspection.trackData.trajectories;
  if (!inspection.trajectoriesRead) out << "  not loaded\n";
  for (std::size_t kind = 0; kind < inspection.trajectories.kinds.size(); ++kind) {
    const KindSummary& counts = inspection.trajectories.kinds[kind];
    out << "  kind " << kind << ": " << counts.trajectories << " trajectories, " << counts.samples << " samples\n";
  }
  out << "  " << file.headerLines << " header line(s), " << file.samplesStored << " sample line(s) stored\n"
      << "  skipped: " << file.samplesOutOfRange << " sample line(s) outside the point file's frames, "
      << file.malformedSampleLines << " malformed sample line(s), " << file.samplesBeforeFirstHeader
      << " before the first header\n";
  if (file.malformedHeaderLines > 0) out << "  " << file.malformedHeaderLines << " header line(s) with missing values (read as 0)\n";
  if (file.cappedSlots > 0) out << "  " << file.cappedSlots << " frame(s) with more than 32767 samples: only the first are drawn\n";
}

void WriteFrames(const Inspection& inspection, std::ostream& out) {
  if (inspection.frames.empty()) return;
  out << "\nFrames at clock times\n";
  for (const FrameAtTime& frame : inspection.frames) {
    out << "  " << frame.time << " ms: ";
    if (frame.slot < 0) {
      out << "no frame\n";
      continue;
    }
    out << "frame " << frame.frame << " (slot " << frame.slot << ") at " << frame.clock << " ms, "
        << frame.points << " points, " << frame.trajectorySamples << " trajectory samples\n";
  }
}

}  // namespace

void WriteInspectionText(const Inspection& inspection, std::ostream& out) {
  WriteCompanions(inspection, out);
  WriteTimeLog(inspection, out);
  WritePoints(inspection, out);
  WriteTrajectories(inspection, out);
  WriteFrames(inspection, out);
}

}  // namespace ostrel::cli
