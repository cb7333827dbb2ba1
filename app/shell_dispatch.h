#pragma once

#include "app/shell_handlers.h"

namespace ostrel {

// Which handler a command of the menu, the accelerators or the control bar reaches.
// `shift` is whether Shift was held for the input being handled; only the offset buttons
// look at it.
void DispatchCommand(int id, bool shift, ShellHandlers& handlers);

// Keys that reach the main window itself: the left and right arrows step the clock offset,
// every other key is consumed without effect. `key` is a Qt::Key.
void DispatchKey(int key, bool shift, ShellHandlers& handlers);

}  // namespace ostrel
