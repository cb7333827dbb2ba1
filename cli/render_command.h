#pragma once

#include <QStringList>
#include <ostream>

namespace ostrel::cli {

// "ostrel-cli render VIDEO --output FILE [--from MS] [--to MS] [--offset MS]
// [--style live|snapshot]"; `arguments` starts with the program name. `errIsTerminal` says
// whether the progress line may be redrawn in place.
int RunRender(const QStringList& arguments, std::ostream& out, std::ostream& err, bool errIsTerminal);

}  // namespace ostrel::cli
