#include "cli/command_line.h"

#include "cli/cli_app.h"

#include <filesystem>

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

std::string VideoPathArgument(const QString& argument) {
  const std::filesystem::path path(argument.toStdString());
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).string();
}

}  // namespace ostrel::cli
