#include "video/track_overlay_painter.h"

namespace ostrel {

void TrackOverlayPainter::operator()(const YuvPicture& picture, ReferenceTime position) {
  const bool inSync = timeline_.Follow(position);
  const QSize size(picture.width, picture.height);
  if (!overlay_ || overlay_->size() != size) overlay_.emplace(style_, size);
  overlay_->Draw(picture, store_, inSync);
}

}  // namespace ostrel
