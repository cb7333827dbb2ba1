#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "cli/inspection_format.h"

namespace ostrel::cli {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QJsonValue Count(std::int64_t value) { return QJsonValue(static_cast<qint64>(value)); }
QJsonValue Count(std::uint64_t value) { return QJsonValue(static_cast<qint64>(value)); }

const char* EndName(PointFileEnd end) {
  switch (end) {
    case PointFileEnd::Complete: return "complete";
    case PointFileEnd::CutShort: return "cut-short";
    case PointFileEnd::Damaged: return "damaged";
    case PointFileEnd::ReadError: return "read-error";
  }
  return "";
}

QJsonArray Companions(const Inspection& inspection) {
  QJsonArray companions;
  for (const CompanionFile& file : inspection.companions) {
    companions.append(QJsonObject{{"role", Text(file.role)},
                                  {"path", file.path ? QJsonValue(Text(*file.path)) : QJsonValue()},
                                  {"exists", file.exists}});
  }
  return companions;
}

QJsonObject TimeLog(const Inspection& inspection) {
  const TimeLogReport& log = inspection.timeLog;
  QJsonArray corrections;
  for (const TimeLogCorrectionRead& line : log.corrections) {
    corrections.append(QJsonObject{{"line", Count(std::uint64_t{line.lineNumber})}, {"adjustMs", line.adjustMs}});
  }
  return {{"path", Text(log.logPath)},
          {"read", inspection.timeLogRead},
          {"startMs", inspection.offset.startMs},
          {"adjustMs", inspection.offset.adjustMs},
          {"videoLine", log.videoLine ? QJsonValue(Count(std::uint64_t{log.videoLine->lineNumber})) : QJsonValue()},
          {"corrections", corrections},
          {"unknownSignLine", log.unknownSignLine ? QJsonValue(Count(std::uint64_t{*log.unknownSignLine})) : QJsonValue()}};
}

QJsonObject Points(const Inspection& inspection) {
  const PointSummary& points = inspection.points;
  const PointFileReport& file = inspection.trackData.points;
  QJsonArray steps;
  for (const ClockStep& step : points.clockSteps) {
    steps.append(QJsonObject{{"previousFrame", step.previousFrame}, {"previousClockMs", step.previousClock},
                             {"frame", step.frame}, {"clockMs", step.clock}});
  }
  return {{"read", inspection.pointsRead},
          {"bytes", Count(file.fileBytes)},
          {"end", EndName(file.end)},
          {"endOffset", Count(file.endOffset)},
          {"damage", Text(file.damage)},
          {"lastPointsIncomplete", file.lastPointsIncomplete},
          {"records", Count(points.records)},
          {"points", Count(points.points)},
          {"firstFrame", points.firstFrame},
          {"lastFrame", points.lastFrame},
          {"firstClockMs", points.firstClock},
          {"lastClockMs", points.lastClock},
          {"framesWithoutRecord", Count(points.framesWithoutRecord)},
          {"hiddenDuplicates", Count(points.duplicateRecords)},
          {"clockStepCount", Count(points.clockStepCount)},
          {"clockSteps", steps}};
}

QJsonObject Trajectories(const Inspection& inspection) {
  const TrajectoryFileReport& file = inspection.trackData.trajectories;
  QJsonArray kinds;
  for (const KindSummary& counts : inspection.trajectories.kinds) {
    kinds.append(QJsonObject{{"trajectories", Count(counts.trajectories)}, {"samples", Count(counts.samples)}});
  }
  return {{"read", inspection.trajectoriesRead},
          {"path", Text(file.path)},
          {"kinds", kinds},
          {"headerLines", Count(file.headerLines)},
          {"samplesStored", Count(file.samplesStored)},
          {"samplesOutOfRange", Count(file.samplesOutOfRange)},
          {"malformedSampleLines", Count(file.malformedSampleLines)},
          {"malformedHeaderLines", Count(file.malformedHeaderLines)},
          {"samplesBeforeFirstHeader", Count(file.samplesBeforeFirstHeader)},
          {"cappedSlots", Count(file.cappedSlots)}};
}

QJsonArray Frames(const Inspection& inspection) {
  QJsonArray frames;
  for (const FrameAtTime& frame : inspection.frames) {
    QJsonObject entry{{"timeMs", frame.time}, {"slot", frame.slot}};
    if (frame.slot >= 0) {
      entry.insert("frame", frame.frame);
      entry.insert("clockMs", frame.clock);
      entry.insert("points", frame.points);
      entry.insert("trajectorySamples", frame.trajectorySamples);
    }
    frames.append(entry);
  }
  return frames;
}

QJsonArray Messages(const std::vector<UserMessage>& messages) {
  QJsonArray shown;
  for (const UserMessage& message : messages) {
    shown.append(QJsonObject{{"caption", Text(message.caption)}, {"text", Text(message.text)}});
  }
  return shown;
}

}  // namespace

void WriteInspectionJson(const Inspection& inspection, const std::vector<UserMessage>& messages,
                         std::ostream& out) {
  const QJsonObject root{{"video", Text(inspection.video)},
                         {"companions", Companions(inspection)},
                         {"timeLog", TimeLog(inspection)},
                         {"pointFile", Points(inspection)},
                         {"trajectoryFile", Trajectories(inspection)},
                         {"frames", Frames(inspection)},
                         {"messages", Messages(messages)},
                         {"everythingRead", inspection.everythingRead()}};
  out << QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace ostrel::cli
