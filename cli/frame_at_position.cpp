#include "cli/frame_at_position.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "video/media_graph.h"

namespace ostrel::cli {
namespace {

constexpr int kFrameWaitMs = 10000;

// A seek in a paused graph decodes the frame at the new position and announces it; this
// waits for that announcement, or gives up.
bool SeekAndWaitForFrame(MediaGraph& graph, ReferenceTime position) {
  // A frame announced before the seek must not be taken for the one after it.
  QCoreApplication::processEvents();
  QEventLoop loop;
  bool arrived = false;
  QObject::connect(&graph, &MediaGraph::frameReady, &loop, [&] {
    arrived = true;
    loop.quit();
  });
  QTimer::singleShot(kFrameWaitMs, &loop, &QEventLoop::quit);
  if (!graph.SetPositions(position)) return false;
  loop.exec();
  return arrived;
}

}  // namespace

std::optional<GrabbedFrame> GrabFrameAt(const std::string& video, ReferenceTime position, std::string& error) {
  if (!InitializeMediaServices()) {
    error = "the media services could not start";
    return std::nullopt;
  }
  const std::unique_ptr<MediaGraph> graph = CreateMediaGraph();
  if (!graph) {
    error = "no media graph could be made";
    return std::nullopt;
  }
  if (!graph->RenderFile(video)) {
    error = graph->RenderError();
    return std::nullopt;
  }
  graph->SetBufferSamples(true);
  if (position > 0 && !SeekAndWaitForFrame(*graph, position)) {
    error = "no frame arrived after seeking to the position";
    return std::nullopt;
  }
  GrabbedFrame frame;
  const std::optional<BitmapInfoHeader> header = graph->GetConnectedMediaType();
  if (!header || !graph->GetCurrentBuffer(frame.pixels)) {
    error = "the grabber holds no frame";
    return std::nullopt;
  }
  frame.header = *header;
  return frame;
}

}  // namespace ostrel::cli
