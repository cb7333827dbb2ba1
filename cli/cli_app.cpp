#include "cli/cli_app.h"

#include <QCommandLineParser>
#include <iostream>
#include <unistd.h>

#include "cli/inspect_command.h"
#include "cli/render_command.h"
#include "cli/snapshot_command.h"

namespace ostrel::cli {
namespace {

constexpr const char* kOverview =
    "Reads the tracking data beside a video the way the Ostrel viewer does.\n"
    "\n"
    "Commands:\n"
    "  inspect VIDEO   report what the video's point file, trajectory file and camera log\n"
    "                  hold, and which frame the viewer shows for given clock times\n"
    "  snapshot VIDEO  write the frame at a playback position plain (1.bmp) and with the\n"
    "                  tracking data drawn in (N.bmp), as the viewer's Capture does\n"
    "  render VIDEO    write the video again with the tracking data drawn into every frame\n"
    "\n"
    "Run 'ostrel-cli COMMAND --help' for the options of a command.";

}  // namespace

int RunCli(const QStringList& arguments, std::ostream& out, std::ostream& err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kOverview);
  parser.addPositionalArgument("command", "The command to run: inspect, snapshot or render.", "COMMAND [options]");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

  if (!parser.parse(arguments)) {
    err << parser.errorText().toStdString() << "\nTry 'ostrel-cli --help'.\n";
    return kExitUsage;
  }
  const QStringList rest = parser.positionalArguments();
  if (rest.isEmpty() && parser.isSet(help)) {
    out << parser.helpText().toStdString();
    return kExitSuccess;
  }
  if (parser.isSet(version)) {
    out << "ostrel-cli " << OSTREL_VERSION << '\n';
    return kExitSuccess;
  }
  if (rest.isEmpty()) {
    err << "No command given.\n\n" << parser.helpText().toStdString();
    return kExitUsage;
  }
  QStringList commandArguments = rest.mid(1);
  commandArguments.prepend(arguments.value(0, "ostrel-cli"));
  if (rest.first() == "inspect") return RunInspect(commandArguments, out, err);
  if (rest.first() == "snapshot") return RunSnapshot(commandArguments, out, err);
  if (rest.first() == "render") {
    // Redrawing the progress line in place only makes sense on a terminal.
    const bool terminal = &err == &std::cerr && isatty(STDERR_FILENO) != 0;
    return RunRender(commandArguments, out, err, terminal);
  }
  err << "Unknown command '" << rest.first().toStdString() << "'.\nTry 'ostrel-cli --help'.\n";
  return kExitUsage;
}

}  // namespace ostrel::cli
