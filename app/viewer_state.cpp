#include "app/viewer_state.h"

#include <utility>

#include "video/media_graph.h"

namespace ostrel {

ViewerState::ViewerState() = default;
ViewerState::ViewerState(std::unique_ptr<MediaGraph> firstGraph) : graph(std::move(firstGraph)) {}
ViewerState::~ViewerState() = default;

}  // namespace ostrel
