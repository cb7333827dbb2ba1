#include "video/track_overlay_painter.h"

namespace ostrel {

void TrackOverlayPainter::operator()(QImage& picture, ReferenceTime position) {
  const bool inSync = timeline_.Follow(position);
  if (!overlay_ || overlay_->size() != picture.size()) overlay_.emplace(style_, picture.size());
  overlay_->Draw(picture, store_, inSync);
}

}  // namespace ostrel
