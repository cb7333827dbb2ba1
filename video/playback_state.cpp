#include "video/playback_state.h"

#include <filesystem>
#include <utility>

#include "video/media_graph.h"

namespace ostrel {
namespace {

std::unique_ptr<PlaybackGraph> CreateDefaultGraph() { return CreateMediaGraph(); }

std::string StartFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string(".") : folder.string();
}

}  // namespace

PlaybackState::PlaybackState() : PlaybackState(nullptr) {}

PlaybackState::PlaybackState(std::unique_ptr<PlaybackGraph> firstGraph)
    : WorkingFolder(StartFolder()), createGraph(&CreateDefaultGraph), graph(std::move(firstGraph)) {}

PlaybackState::~PlaybackState() = default;

}  // namespace ostrel
