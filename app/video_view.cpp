#include "app/video_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace ostrel {

VideoView::VideoView(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted each time: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
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
  const QRect picture = rect();
  if (picture.isEmpty()) return;
  if (composed_.size() != picture.size()) composed_ = QImage(picture.size(), QImage::Format_RGB32);
  if (frame_.isNull()) {
    composed_.fill(Qt::black);
  } else {
    QPainter scaler(&composed_);
    scaler.drawImage(picture, frame_);
  }
  if (overlayPainter_) overlayPainter_(composed_, pos());
  QPainter painter(this);
  painter.drawImage(0, 0, composed_);
}

}  // namespace ostrel
