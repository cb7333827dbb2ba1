#pragma once

#include <ostream>
#include <vector>

#include "cli/inspection.h"
#include "track/message_sink.h"

namespace ostrel::cli {

// For a person at a terminal.
void WriteInspectionText(const Inspection& inspection, std::ostream& out);

// For scripts: one JSON object, the messages included.
void WriteInspectionJson(const Inspection& inspection, const std::vector<UserMessage>& messages,
                         std::ostream& out);

}  // namespace ostrel::cli
