#include "cli/inspect_command.h"

#include <QCommandLineParser>
#include <optional>
#include <vector>

#include "cli/cli_app.h"
#include "cli/command_line.h"
#include "cli/console_messages.h"
#include "cli/inspection.h"
#include "cli/inspection_format.h"

namespace ostrel::cli {
namespace {

constexpr const char* kDescription =
    "Reports what the companion files of VIDEO hold, read exactly as opening the video in\n"
    "the viewer reads them: their paths and which exist; the startMs and adjustMs that the\n"
    "camera log gives; the point file's records, frames, clock range, missing frames and any\n"
    "place where the clock does not grow with the frame; the trajectories by kind and the\n"
    "sample lines skipped. Messages the viewer would show in a box go to standard error as\n"
    "'caption: text'.\n"
    "\n"
    "Exit status: 0 when every companion file was read, 1 when one could not be, 2 for a\n"
    "command line that was not understood.";

std::optional<std::vector<ClockMs>> ClockTimes(const QStringList& values, std::ostream& err) {
  std::vector<ClockMs> times;
  for (const QString& value : values) {
    bool ok = false;
    const int time = value.toInt(&ok);
    if (!ok) {
      err << "--at takes a clock time in whole milliseconds (a 32-bit integer), not '"
          << value.toStdString() << "'.\n";
      return std::nullopt;
    }
    times.push_back(time);
  }
  return times;
}

}  // namespace

int RunInspect(const QStringList& arguments, std::ostream& out, std::ostream& err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addPositionalArgument("VIDEO", "The video whose .lpa, .traj and camera .log are read.",
                               "inspect VIDEO");
  const QCommandLineOption at("at",
                              "Also report the frame the viewer shows at clock time MS (whole\n"
                              "milliseconds on the recording clock; may be given many times):\n"
                              "its number, clock, points and trajectory samples.",
                              "MS");
  const QCommandLineOption json("json", "Print the report as one JSON object instead of text.");
  parser.addOption(at);
  parser.addOption(json);
  const QCommandLineOption help = parser.addHelpOption();

  if (const std::optional<int> settled = ParseCommandLine(parser, help, "inspect", arguments, out, err)) {
    return *settled;
  }
  const QStringList videos = parser.positionalArguments();
  if (videos.size() != 1) return CommandUsageError("inspect", "inspect takes exactly one VIDEO.", err);
  const std::optional<std::vector<ClockMs>> times = ClockTimes(parser.values(at), err);
  if (!times) return kExitUsage;

  ConsoleMessages messages(err);
  const Inspection inspection = InspectVideo(VideoPathArgument(videos.first()), *times, messages);
  if (parser.isSet(json)) {
    WriteInspectionJson(inspection, messages.shown(), out);
  } else {
    WriteInspectionText(inspection, out);
  }
  return inspection.everythingRead() ? kExitSuccess : kExitCompanionFailed;
}

}  // namespace ostrel::cli
