#pragma once

#include <QStringList>
#include <ostream>

namespace ostrel::cli {

enum ExitStatus : int {
  kExitSuccess = 0,           // every file was read
  kExitCompanionFailed = 1,   // a companion file could not be read
  kExitUsage = 2,             // the command line was not understood
};

// Runs ostrel-cli with `arguments` (the program name first), writing its report to `out`
// and its messages to `err`; returns the exit status.
int RunCli(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace ostrel::cli
