#include "overlay/pixel_canvas.h"

#include <algorithm>
#include <utility>

#include "overlay/line_pixels.h"
#include "overlay/line_runs.h"
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
    if (record_) {
      RecordLine(to);
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

// A line is a run or two a row (the live trails are thousands of pixels a redraw): the
// stroke's pixels are marked a word of them at a time, and what is left of each run once the
// pixels the stroke already painted are taken out goes into the record.
void PixelCanvas::RecordLine(PixelPoint to) {
  const QRect picture = image_.rect();
  const std::uint32_t bits = pen_.colour.rgb() & 0x00FFFFFFu;
  const auto record = [&](std::int32_t y, std::int32_t left, std::int32_t right) {
    seen_.InsertRun(y, left, right, [&](std::int32_t from, std::int32_t upTo) { AppendRun({y, from, upTo, bits}); });
  };
  if (pen_.width <= kWidestRunPen) {
    ForEachLineRun(position_, to, pen_.width, picture, record);
  } else {
    ForEachLinePixel(position_, to, pen_.width, picture, [&](std::int32_t x, std::int32_t y) { record(y, x, x); });
  }
}

// Joins the run to the stroke's last when they continue each other on one row, as the pieces
// of a run cut at a word's edge do, and a line's row that goes on into the next line.
void PixelCanvas::AppendRun(const XorRun& run) {
  if (record_->size() > strokeStart_) {
    XorRun& last = record_->back();
    if (last.y == run.y && last.bits == run.bits && last.right + 1 == run.left) {
      last.right = run.right;
      return;
    }
  }
  record_->push_back(run);
}

// The stroke's pixels are taken out of the seen ones, ready for the next stroke: a run or a
// pixel at a time, or the words of the rectangle around them when those are fewer.
void PixelCanvas::EndCombinedStroke() {
  const std::size_t runs = record_ ? record_->size() - strokeStart_ : 0;
  const bool byWords = seen_.WordsOf(strokeBox_) < runs + stroke_.size();
  if (byWords) seen_.EraseWordsOf(strokeBox_);
  if (!byWords || tiles_) {
    for (std::size_t i = strokeStart_; i < strokeStart_ + runs; ++i) {
      const XorRun& run = (*record_)[i];
      if (!byWords) seen_.EraseRun(run.y, run.left, run.right);
      if (tiles_) tiles_->MarkSpan(run.y, run.left, run.right);
    }
    for (const PixelPoint& pixel : stroke_) {
      if (!byWords) seen_.Erase(pixel.x, pixel.y);
      if (tiles_) tiles_->MarkPixel(pixel.x, pixel.y);
    }
  }
  strokeStart_ += runs;
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
  for (const PixelSpan& span : spans) record_->push_back({span.y, span.left, span.right, bits});
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
