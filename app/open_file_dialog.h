#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ostrel {

// Asks for an existing file starting in `folder`; nothing when the user cancels.
using FileChooser = std::function<std::optional<std::string>(const std::string& folder)>;

// The viewer's open dialog for videos: no owner, so the main window goes on playing and
// ticking while it is open.
std::optional<std::string> ChooseVideoWithDialog(const std::string& folder);

}  // namespace ostrel
