#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace ostrel::cli {

// Tells that a command line was not understood and where to read how `command` is used;
// gives the usage exit status.
int CommandUsageError(std::string_view command, const std::string& text, std::ostream& err);

// Parses a command's arguments. When they settle the run already (--help shown, or not
// understood) the exit status comes back; otherwise nothing, and the command goes on.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QCommandLineOption& help,
                                    std::string_view command, const QStringList& arguments,
                                    std::ostream& out, std::ostream& err);

// The VIDEO argument as a path its companion files can be found from: a bare name or a
// relative path names no folder of its own, so the working directory's is put before it.
std::string VideoPathArgument(const QString& argument);

}  // namespace ostrel::cli
