#pragma once

#include <QStringList>
#include <ostream>

namespace ostrel::cli {

// "ostrel-cli snapshot VIDEO --position MS [--offset MS] [--output-dir DIR]"; `arguments`
// starts with the program name. Needs a running QCoreApplication.
int RunSnapshot(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace ostrel::cli
