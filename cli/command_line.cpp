#include "cli/command_line.h"

#include "cli/cli_app.h"

namespace ostrel::cli {

int CommandUsageError(std::string_view command, const std::string& text, std::ostream& err) {
  err << text << "\nTry 'ostrel-cli " << command << " --help'.\n";
  return kExitUsage;
}

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QCommandLineOption& help,
                                    std::string_view command, const QStringList& arguments,
                                    std::ostream& out, std::ostream& err) {
  if (!parser.parse(arguments)) return CommandUsageError(command, parser.errorText().toStdString(), err);
  if (!parser.isSet(help)) return std::nullopt;
  out << parser.helpText().toStdString();
  return kExitSuccess;
}

}  // namespace ostrel::cli
