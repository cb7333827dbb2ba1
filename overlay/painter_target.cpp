#include "overlay/painter_target.h"

#include <QPaintEngine>
#include <QTransform>

namespace ostrel {

std::optional<PainterTarget> FindPainterTarget(QPainter& painter) {
  QPaintEngine* engine = painter.paintEngine();
  if (engine == nullptr || engine->type() != QPaintEngine::Raster || painter.hasClipping()) return std::nullopt;
  QPaintDevice* device = engine->paintDevice();
  if (device == nullptr || device->devType() != QInternal::Image) return std::nullopt;
  auto* picture = static_cast<QImage*>(device);
  const QTransform transform = painter.deviceTransform();
  const auto dx = static_cast<int>(transform.dx());
  const auto dy = static_cast<int>(transform.dy());
  if (picture->depth() != 32 || picture->devicePixelRatio() != 1.0 || transform.type() > QTransform::TxTranslate ||
      dx != transform.dx() || dy != transform.dy()) {
    return std::nullopt;
  }
  // Without a clip of the system's, the painter may paint the whole picture.
  const QRegion clip = engine->systemClip();
  return PainterTarget{picture, QPoint(dx, dy), clip.isEmpty() ? QRegion(picture->rect()) : clip & picture->rect()};
}

}  // namespace ostrel
