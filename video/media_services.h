#pragma once

namespace ostrel {

// Makes the media services usable in this process (once, before any graph); false when they
// cannot start, in which case the viewer cannot play anything.
bool InitializeMediaServices();

}  // namespace ostrel
