#include "overlay/pixel_canvas.h"

#include <utility>

#include "overlay/pixel_shapes.h"

namespace ostrel {
namespace {

void FillSpans(QPainter& painter, const std::vector<PixelSpan>& spans, const QColor& colour) {
  for (const PixelSpan& span : spans) {
    painter.fillRect(QRect(span.left, span.y, span.right - span.left + 1, 1), colour);
  }
}

}  // namespace

PixelCanvas::PixelCanvas(QImage& image, DrawMode mode, Pen pen)
    : image_(image), painter_(&image), pen_(std::move(pen)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setCompositionMode(mode == DrawMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                    : QPainter::CompositionMode_Source);
}

PixelCanvas::~PixelCanvas() { Flush(); }

void PixelCanvas::SelectPen(const Pen& pen) {
  Flush();
  pen_ = pen;
}

void PixelCanvas::MoveTo(PixelPoint point) {
  Flush();
  position_ = point;
}

void PixelCanvas::LineTo(PixelPoint point) {
  AppendLinePixels(position_, point, pen_.width, image_.rect(), stroke_);
  position_ = point;
}

void PixelCanvas::Flush() {
  if (stroke_.empty()) return;
  FillSpans(painter_, MergeIntoSpans(stroke_), pen_.colour);
  stroke_.clear();
}

void PixelCanvas::Ellipse(std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom, const QColor& colour) {
  Flush();
  std::vector<PixelSpan> spans;
  AppendEllipseSpans(left, top, right, bottom, image_.rect(), spans);
  FillSpans(painter_, spans, colour);
}

void PixelCanvas::FillRect(const QRect& rect, const QColor& colour) {
  Flush();
  painter_.fillRect(rect, colour);
}

}  // namespace ostrel
