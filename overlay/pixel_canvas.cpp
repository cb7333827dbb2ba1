#include "overlay/pixel_canvas.h"

#include <algorithm>
#include <utility>

#include "overlay/line_pixels.h"
#include "overlay/pixel_shapes.h"

namespace ostrel {
namespace {

// The part of `picture` that a line's pen squares can reach: they lie between its ends, and the
// pen's width beyond the larger.
QRect LineBox(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& picture) {
  const std::int64_t reach = std::max(penWidth, 1) - 1;
  const std::int64_t left = std::max<std::int64_t>(std::min(from.x, to.x), picture.left());
  const std::int64_t top = std::max<std::int64_t>(std::min(from.y, to.y), picture.top());
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{std::max(from.x, to.x)} + reach, picture.right());
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{std::max(from.y, to.y)} + reach, picture.bottom());
  if (left > right || top > bottom) return {};
  return QRect(QPoint(static_cast<int>(left), static_cast<int>(top)), QPoint(static_cast<int>(right), static_cast<int>(bottom)));
}

// Calls put(x, y) for the pixels of the pen square at (x, y) that lie inside `picture`.
template <typename Put>
[[gnu::noinline]] void ForEachPixelOfSquareIn(std::int64_t x, std::int64_t y, std::int32_t penWidth,
                                              const QRect& picture, Put& put) {
  const std::int64_t bottom = std::min<std::int64_t>(y + penWidth - 1, picture.bottom());
  const std::int64_t right = std::min<std::int64_t>(x + penWidth - 1, picture.right());
  for (std::int64_t row = std::max<std::int64_t>(y, picture.top()); row <= bottom; ++row) {
    for (std::int64_t column = std::max<std::int64_t>(x, picture.left()); column <= right; ++column) {
      put(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row));
    }
  }
}

}  // namespace

PixelCanvas::PixelCanvas(QImage& image, DrawMode mode, Pen pen, CanvasLedger ledger)
    : image_(image),
      pen_(std::move(pen)),
      seen_(ledger.seen ? *ledger.seen : ownSeen_),
      tiles_(ledger.tiles && ledger.tiles->picture() == image.size() ? ledger.tiles : nullptr),
      record_(mode == DrawMode::Xor && image.depth() == 32 && PixelWriter::Supports(image.format()) ? ledger.record
                                                                                                  : nullptr) {
  if (PixelWriter::Supports(image.format())) {
    writer_.emplace(image, mode);
    writer_->SetColour(pen_.colour);
    if (writer_->combines()) seen_.Fit(image.size());
    if (record_) strokeStart_ = record_->size();
    return;
  }
  painter_.emplace(&image);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setCompositionMode(mode == DrawMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                     : QPainter::CompositionMode_Source);
}

PixelCanvas::~PixelCanvas() { Flush(); }

void PixelCanvas::SelectPen(const Pen& pen) {
  Flush();
  pen_ = pen;
  if (writer_) writer_->SetColour(pen_.colour);
}

void PixelCanvas::MoveTo(PixelPoint point) {
  Flush();
  position_ = point;
}

void PixelCanvas::LineTo(PixelPoint point) {
  if (Combines()) {
    CombineLine(point);
  } else {
    AppendLinePixels(position_, point, pen_.width, image_.rect(), stroke_);
  }
  position_ = point;
}

void PixelCanvas::Flush() {
  if (Combines()) return EndCombinedStroke();
  if (stroke_.empty()) return;
  if (writer_) {
    CopyStroke();
  } else {
    PaintSpans(MergeIntoSpans(stroke_), pen_.colour);
  }
  stroke_.clear();
}

// A combining stroke paints each of its pixels once, as it comes: the joint two lines share,
// or the overlap of a wide pen's squares, is never inverted twice.
void PixelCanvas::CombineLine(PixelPoint to) {
  const QRect picture = image_.rect();
  strokeBox_ |= LineBox(position_, to, pen_.width, picture);
  try {
    if (record_ && pen_.width == 2) {
      RecordTwoPixelLine(to);
    } else if (record_) {
      const std::uint32_t bits = pen_.colour.rgb() & 0x00FFFFFFu;
      ForEachLinePixel(position_, to, pen_.width, picture, [&](std::int32_t x, std::int32_t y) {
        if (seen_.Insert(x, y) != 0) record_->push_back({x, y, bits});
      });
    } else {
      ForEachLinePixel(position_, to, pen_.width, picture, [&](std::int32_t x, std::int32_t y) {
        if (seen_.Insert(x, y) == 0) return;
        writer_->Put(x, y);
        stroke_.push_back({x, y});
      });
    }
  } catch (...) {
    // A pixel may be marked that no list holds: only forgetting them all keeps later strokes whole.
    seen_.Clear();
    throw;
  }
}

// The live trails' pen, thousands of pixels a redraw: every pixel of every square is written
// to the record and kept by counting it in, so that which of a square's pixels are new (half
// of them, by the slope's whim) costs no mispredicted branch.
void PixelCanvas::RecordTwoPixelLine(PixelPoint to) {
  const QRect picture = image_.rect();
  const std::uint32_t bits = pen_.colour.rgb() & 0x00FFFFFFu;
  const std::int64_t length = std::max(std::llabs(std::int64_t{to.x} - position_.x), std::llabs(std::int64_t{to.y} - position_.y));
  // A line walks no more squares than the picture is long, plus the pen.
  const std::int64_t squares = std::min<std::int64_t>(length, std::max(picture.width(), picture.height()) + 2);
  const std::size_t start = record_->size();
  record_->resize(start + 4 * static_cast<std::size_t>(squares));
  XorDelta* const first = record_->data() + start;
  XorDelta* out = first;
  SeenPixels& seen = seen_;
  const auto put = [&out, &seen, bits](std::int32_t x, std::int32_t y) {
    *out = {x, y, bits};
    out += seen.Insert(x, y);
  };
  const std::int64_t lastLeft = picture.right() - 1;
  const std::int64_t lastTop = picture.bottom() - 1;
  ForEachLineSquare(position_, to, 2, picture, [&](std::int64_t x, std::int64_t y) {
    if (x >= 0 && y >= 0 && x <= lastLeft && y <= lastTop) [[likely]] {
      const auto left = static_cast<std::int32_t>(x);
      const auto top = static_cast<std::int32_t>(y);
      put(left, top);
      put(left + 1, top);
      put(left, top + 1);
      put(left + 1, top + 1);
    } else {
      ForEachPixelOfSquareIn(x, y, 2, picture, put);
    }
  });
  record_->resize(start + static_cast<std::size_t>(out - first));
}

// The stroke's pixels are taken out of the seen ones, ready for the next stroke: one at a time,
// or the words of the rectangle around them when those are fewer.
void PixelCanvas::EndCombinedStroke() {
  const std::size_t recorded = record_ ? record_->size() - strokeStart_ : 0;
  const std::size_t pixels = recorded + stroke_.size();
  const bool byWords = seen_.WordsOf(strokeBox_) < pixels;
  const auto release = [&](std::int32_t x, std::int32_t y) {
    if (!byWords) seen_.Erase(x, y);
    if (tiles_) tiles_->MarkPixel(x, y);
  };
  if (byWords) seen_.EraseWordsOf(strokeBox_);
  if (!byWords || tiles_) {
    for (std::size_t i = strokeStart_; i < strokeStart_ + recorded; ++i) release((*record_)[i].x, (*record_)[i].y);
    for (const PixelPoint& pixel : stroke_) release(pixel.x, pixel.y);
  }
  strokeStart_ += recorded;
  stroke_.clear();
  strokeBox_ = QRect();
}

// Copying the pen's colour again changes nothing, so a copied stroke needs no account of the
// pixels it has painted.
void PixelCanvas::CopyStroke() {
  for (const PixelPoint& pixel : stroke_) {
    if (tiles_) tiles_->MarkPixel(pixel.x, pixel.y);
    writer_->Put(pixel.x, pixel.y);
  }
}

void PixelCanvas::PaintSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  if (tiles_) {
    for (const PixelSpan& span : spans) tiles_->MarkSpan(span.y, span.left, span.right);
  }
  if (writer_) {
    if (record_) return RecordSpans(spans, colour);
    writer_->SetColour(colour);
    for (const PixelSpan& span : spans) writer_->PutSpan(span);
    writer_->SetColour(pen_.colour);
    return;
  }
  for (const PixelSpan& span : spans) {
    painter_->fillRect(QRect(span.left, span.y, span.right - span.left + 1, 1), colour);
  }
}

void PixelCanvas::RecordSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  const std::uint32_t bits = colour.rgb() & 0x00FFFFFFu;
  for (const PixelSpan& span : spans) {
    for (std::int32_t x = span.left; x <= span.right; ++x) record_->push_back({x, span.y, bits});
  }
  strokeStart_ = record_->size();
}

void PixelCanvas::Ellipse(std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom, const QColor& colour) {
  Flush();
  std::vector<PixelSpan> spans;
  AppendEllipseSpans(left, top, right, bottom, image_.rect(), spans);
  PaintSpans(spans, colour);
}

void PixelCanvas::FillRect(const QRect& rect, const QColor& colour) {
  Flush();
  const QRect inside = rect & image_.rect();
  std::vector<PixelSpan> spans;
  for (int y = inside.top(); y <= inside.bottom(); ++y) spans.push_back({y, inside.left(), inside.right()});
  PaintSpans(spans, colour);
}

}  // namespace ostrel
