#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/overlay_painter.h"
#include "video/playback_graph.h"

namespace ostrel {

// The picture of the open video: a child of the main window that paints the newest frame of
// its graph scaled into its own rectangle, which the main window sets as the picture's place
// (setGeometry). Hidden until its graph delivers a first frame, and again when detached.
// Every painted frame gets the overlay afresh, so a new frame never carries an old overlay.
class VideoView : public QWidget {
 public:
  explicit VideoView(QWidget* parent = nullptr);

  // Shows `graph`'s frames from its next frame on; nullptr detaches and hides the view.
  void SetGraph(PlaybackGraph* graph);
  // Applied to every frame once it is scaled into the view, with the view's place in its
  // parent as the origin.
  void SetOverlayPainter(OverlayPainter painter) { overlayPainter_ = std::move(painter); }

  // The overlay changed. While frames keep coming the next one shows it, without a paint of
  // its own (a 1080p repaint costs more than the overlay); a picture that stands still is
  // repainted once a frame's time has passed without one.
  void OverlayChanged();

  // The frame painted last (or about to be): shares the decoded pixels, never a copy.
  const QImage& Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void TakeNewestFrame();
  void Detach();

  QPointer<PlaybackGraph> graph_;
  QMetaObject::Connection frameConnection_;
  QMetaObject::Connection graphGoneConnection_;
  QImage frame_;
  OverlayPainter overlayPainter_;
  QTimer overlayRepaint_;
  bool overlayPending_ = false;  // an overlay change no paint has shown yet
};

}  // namespace ostrel
