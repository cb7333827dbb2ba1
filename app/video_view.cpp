#include "app/video_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace ostrel {

namespace {

// Longer than a frame of any usual video, short enough to pass unnoticed on a still picture.
constexpr int kOverlayRepaintMs = 40;

// Rows of a band: a 1080p band of them, with what the overlay reads, fits a core's cache.
constexpr int kBandRows = 64;

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
  // Band by band, so that the overlay finds each band's pixels still in the cache that
  // drawing the frame brought them through, not in main memory.
  QPainter painter(this);
  for (int top = picture.top(); top <= picture.bottom(); top += kBandRows) {
    const QRect band(picture.left(), top, picture.width(), std::min(kBandRows, picture.bottom() - top + 1));
    painter.setClipRect(band);
    if (frame_.isNull()) {
      painter.fillRect(picture, Qt::black);
    } else {
      painter.drawImage(picture, frame_);
    }
    painter.setClipping(false);
    if (overlayPainter_) overlayPainter_(painter, band, pos());
  }
}

}  // namespace ostrel
