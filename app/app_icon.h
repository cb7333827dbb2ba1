#pragma once

#include <QIcon>

namespace ostrel {

// The viewer's own icon, a vector picture: offered at 16, 32 and 48 pixels, the sizes that
// title bars, task lists and switchers ask for, and drawn sharp at any other size.
QIcon AppIcon();

}  // namespace ostrel
