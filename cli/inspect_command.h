#pragma once

#include <QStringList>
#include <ostream>

namespace ostrel::cli {

// "ostrel-cli inspect VIDEO [--at MS ...] [--json]"; `arguments` starts with the program name.
int RunInspect(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace ostrel::cli
