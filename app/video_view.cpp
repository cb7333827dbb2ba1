#include "app/video_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace ostrel {

namespace {

// Longer than a frame of any usual video, short enough to pass unnoticed on a still picture.
constexpr int kOverlayRepaintMs = 40;

}  // namespace

VideoView::VideoView(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted each time: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
  overlayRepaint_.setSingleShot(true);
  overlayRepaint_.setInterval(kOverlayRepaintMs);
  connect(&overlayRepaint_, &QTimer::timeout, this, [this] {
    if (overlayPending_) update();
  });
}

void VideoView::OverlayChanged() {
  overlayPending_ = true;
  overlayRepaint_.start();
}

void VideoView::SetGraph(PlaybackGraph* graph) {
  Detach();
  if (!graph) return;
  graph_ = graph;
  frameConnection_ = connect(graph, &PlaybackGraph::frameReady, this, &VideoView::TakeNewestFrame);
  graphGoneConnection_ = connect(graph, &QObject::destroyed, this, &VideoView::Detach);
}

void VideoView::Detach() {
  disconnect(frameConnection_);
  disconnect(graphGoneConnection_);
  graph_ = nullptr;
  frame_ = QImage();
  hide();
}

void VideoView::TakeNewestFrame() {
  const PlaybackGraph* graph = graph_.data();
  if (graph == nullptr) return;
  frame_ = graph->CurrentFrame();
  if (isHidden()) show();
  update();
}

void VideoView::paintEvent(QPaintEvent*) {
  overlayPending_ = false;
  const QRect picture = rect();
  if (picture.isEmpty()) return;
  // Straight onto the widget, and the overlay combined into it there: no copy of the frame.
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(picture, Qt::black);
  } else {
    painter.drawImage(picture, frame_);
  }
  if (overlayPainter_) overlayPainter_(painter, picture, pos());
}

}  // namespace ostrel
