#include "overlay/kept_trail_strokes.h"

#include <algorithm>
#include <array>
#include <bit>

#include "overlay/line_runs.h"
#include "overlay/live_overlay.h"

namespace ostrel {
namespace {

// Room around a trail's lines when its counts are made, so that the lines the next redraws add
// still fall inside.
constexpr int kAreaMargin = 48;
// The largest area a trail's counts may cover, and the counts of all trails together: a
// larger trail is drawn each time instead.
constexpr std::size_t kLargestArea = 512 * 512;
constexpr std::size_t kCountBudget = std::size_t{16} << 20;
// With more lines changed than this, counting the trail anew costs no more.
constexpr std::int32_t kMostChangedLines = kTrailReach / 2;
constexpr std::int32_t kWordBits = 64;
// A trail that cannot be kept, or had to be counted anew kMostRebuildsInARow redraws running,
// is drawn line by line for the next kRestingLayers redraws before it is tried again: trying
// costs a trail that is far too large, or moves too fast for its area, more than it saves.
constexpr std::uint64_t kRestingLayers = 8;
constexpr int kMostRebuildsInARow = 3;
// A pixel is covered by at most every line of a trail once.
static_assert(kTrailReach < 255, "a count fits in a byte");

// The first sample a trail reaches: kTrailReach back from `sample`, or the one after the
// nearest break flag at or before it.
std::int32_t TrailStart(const SampleArray& samples, std::int32_t sample) {
  const std::int32_t oldest = std::max(0, sample - kTrailReach);
  for (std::int32_t i = sample; i >= oldest; --i) {
    if (samples[static_cast<std::size_t>(i)].breakFlag != 0) return i + 1;
  }
  return oldest;
}

using StrokePoints = KeptTrailStrokes::StrokePoints;
static_assert(StrokePoints::kMost == kTrailReach + 1, "a stroke's points hold a whole trail");

// Maps the samples of `lines`, each once: false, as soon as it is known, when they are not one
// stroke (a sample not visible, a step too long to join). An empty run maps nothing.
bool MapStroke(const TrailRequest& request, const VisibleArea& visible, KeptTrailStrokes::LineRange lines,
               StrokePoints& stroke) {
  stroke.count = 0;
  if (lines.first > lines.last) return true;
  const std::int32_t first = lines.first - 1;
  if (static_cast<std::size_t>(lines.last - first) >= stroke.points.size()) return false;
  for (std::int32_t i = first; i <= lines.last; ++i) {
    const TrackPoint& centre = (*request.samples)[static_cast<std::size_t>(i)].centre;
    if (!visible.Contains(centre)) return false;
    const PixelPoint point = MapToWindow(centre, request.look.videoRect);
    if (stroke.count > 0 && SquaredDistance(point, stroke.points[stroke.count - 1]) > kLongestTrailStepSquared) {
      return false;
    }
    stroke.points[stroke.count++] = point;
  }
  return true;
}

// The part of `picture` the stroke's lines can paint; empty for a stroke without points.
QRect StrokeBox(const StrokePoints& stroke, std::int32_t penWidth, const QRect& picture) {
  if (stroke.count == 0) return {};
  PixelPoint low = stroke.points[0];
  PixelPoint high = low;
  for (std::size_t k = 1; k < stroke.count; ++k) {
    low = {std::min(low.x, stroke.points[k].x), std::min(low.y, stroke.points[k].y)};
    high = {std::max(high.x, stroke.points[k].x), std::max(high.y, stroke.points[k].y)};
  }
  return LineBox(low, high, penWidth, picture);
}

// Calls take(y, left, right) for each run of covered pixels of one row of counts, joining the
// runs that go on from one word to the next.
template <typename Take>
void ForEachCoveredRun(const std::uint64_t* words, std::size_t count, Take&& take) {
  std::int32_t open = -1;  // the first pixel of a run still going at the end of a word
  for (std::size_t w = 0; w < count; ++w) {
    std::uint64_t word = words[w];
    const auto base = static_cast<std::int32_t>(w) * kWordBits;
    if (open >= 0) {
      const int ones = std::countr_one(word);
      if (ones == kWordBits) continue;
      take(open, base + ones - 1);
      open = -1;
      word &= ~((std::uint64_t{1} << ones) - 1);
    }
    while (word != 0) {
      const int first = std::countr_zero(word);
      const int ones = std::countr_one(word >> first);
      if (first + ones == kWordBits) {
        open = base + first;
        break;
      }
      take(base + first, base + first + ones - 1);
      word &= ~(((std::uint64_t{1} << ones) - 1) << first);
    }
  }
  if (open >= 0) take(open, static_cast<std::int32_t>(count) * kWordBits - 1);
}

}  // namespace

template <bool Add>
void KeptTrailStrokes::CountLine(KeptTrailStrokes::Trail& trail, PixelPoint from, PixelPoint to, const QRect& picture) {
  const QRect& area = trail.area;
  const auto width = static_cast<std::size_t>(area.width());
  ForEachLineRun(from, to, trail.look.penWidth, picture, [&](std::int32_t y, std::int32_t left, std::int32_t right) {
    if (y < area.top() || y > area.bottom() || left < area.left() || right > area.right()) {
      trail.spilled = true;
      return;
    }
    const auto row = static_cast<std::size_t>(y - area.top());
    std::uint8_t* const counts = trail.counts.data() + row * width;
    std::uint64_t* const words = trail.covered.data() + row * trail.wordsPerRow;
    std::uint32_t& rowCovered = trail.rowCovered[row];
    for (std::int32_t x = left - area.left(); x <= right - area.left(); ++x) {
      std::uint8_t& count = counts[x];
      const std::uint64_t bit = std::uint64_t{1} << (x % kWordBits);
      if constexpr (Add) {
        if (count++ == 0) {
          words[x / kWordBits] |= bit;
          ++rowCovered;
        }
      } else if (--count == 0) {
        words[x / kWordBits] &= ~bit;
        --rowCovered;
      }
    }
  });
}

template <bool Add>
void KeptTrailStrokes::CountLines(Trail& trail, const StrokePoints& stroke, const QRect& picture) {
  // Each line is drawn from its newer sample to its older, as the trail is walked.
  for (std::size_t k = 1; k < stroke.count; ++k) CountLine<Add>(trail, stroke.points[k], stroke.points[k - 1], picture);
}

bool KeptTrailStrokes::Append(const TrailRequest& request, XorRecord& record) {
  const std::int32_t penWidth = request.look.penWidth;
  const bool usable = request.samples != nullptr && penWidth > 0 && penWidth <= kWidestRunPen && request.sample >= 0 &&
                      static_cast<std::size_t>(request.sample) < request.samples->size();
  Trail& trail = trails_[request.trajectory];
  trail.layer = layer_;
  if (layer_ < trail.restUntil) return false;
  // A trail of no line (a break at the current sample, or nothing before it) draws nothing.
  const std::int32_t start = usable ? TrailStart(*request.samples, request.sample) : request.sample;
  if (start >= request.sample) {
    Rest(trail);
    return false;
  }
  const LineRange lines{start + 1, request.sample};
  const bool same = trail.samples == request.samples->data() && trail.sampleCount == request.samples->size() &&
                    trail.look == request.look;
  const VisibleArea visible(request.look.videoRect);
  if (!(same ? Update(trail, request, visible, lines) : Rebuild(trail, request, visible, lines))) {
    Rest(trail);
    return false;
  }
  const QRect& area = trail.area;
  for (std::size_t row = 0; row < trail.rowCovered.size(); ++row) {
    if (trail.rowCovered[row] == 0) continue;
    const auto y = area.top() + static_cast<std::int32_t>(row);
    ForEachCoveredRun(trail.covered.data() + row * trail.wordsPerRow, trail.wordsPerRow,
                      [&](std::int32_t left, std::int32_t right) {
                        record.push_back({y, area.left() + left, area.left() + right, request.look.bits});
                      });
  }
  // A trail counted anew redraw after redraw (one that outruns its area) costs more kept than
  // drawn.
  if (trail.rebuildsInARow >= kMostRebuildsInARow) Rest(trail);
  return true;
}

bool KeptTrailStrokes::Rebuild(Trail& trail, const TrailRequest& request, const VisibleArea& visible,
                               LineRange lines) {
  StrokePoints stroke;
  if (!MapStroke(request, visible, lines, stroke)) return false;
  const QRect picture(QPoint(0, 0), request.look.picture);
  const QRect box = StrokeBox(stroke, request.look.penWidth, picture);
  if (box.isEmpty()) return false;
  const QRect area = box.adjusted(-kAreaMargin, -kAreaMargin, kAreaMargin, kAreaMargin) & picture;
  const auto pixels = static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height());
  if (pixels > kLargestArea || countBytes_ - trail.counts.size() + pixels > kCountBudget) return false;

  countBytes_ -= trail.counts.size();
  trail.area = area;
  const auto rows = static_cast<std::size_t>(trail.area.height());
  trail.wordsPerRow = (static_cast<std::size_t>(trail.area.width()) + kWordBits - 1) / kWordBits;
  trail.counts.assign(pixels, 0);
  trail.covered.assign(rows * trail.wordsPerRow, 0);
  trail.rowCovered.assign(rows, 0);
  countBytes_ += pixels;
  ++trail.rebuildsInARow;
  trail.samples = request.samples->data();
  trail.sampleCount = request.samples->size();
  trail.look = request.look;
  trail.lines = lines;
  trail.spilled = false;
  CountLines<true>(trail, stroke, picture);
  return !trail.spilled;
}

bool KeptTrailStrokes::Update(Trail& trail, const TrailRequest& request, const VisibleArea& visible,
                              LineRange lines) {
  const LineRange old = trail.lines;
  const LineRange kept{std::max(old.first, lines.first), std::min(old.last, lines.last)};
  const std::int32_t keptLines = std::max(kept.last - kept.first + 1, 0);
  const std::int32_t changed = (old.last - old.first + 1) + (lines.last - lines.first + 1) - 2 * keptLines;
  if (keptLines == 0 || changed > kMostChangedLines) return Rebuild(trail, request, visible, lines);
  // The lines before and after the kept ones, in the new range and in the old.
  const LineRange added[] = {{lines.first, kept.first - 1}, {kept.last + 1, lines.last}};
  const LineRange removed[] = {{old.first, kept.first - 1}, {kept.last + 1, old.last}};
  const QRect picture(QPoint(0, 0), request.look.picture);
  StrokePoints addedStrokes[2];
  bool within = true;
  for (std::size_t k = 0; k < 2; ++k) {
    if (!MapStroke(request, visible, added[k], addedStrokes[k])) return false;
    const QRect box = StrokeBox(addedStrokes[k], request.look.penWidth, picture);
    within = within && (box.isEmpty() || trail.area.contains(box));
  }
  if (!within) return Rebuild(trail, request, visible, lines);
  StrokePoints removedStrokes[2];
  for (std::size_t k = 0; k < 2; ++k) {
    // Lines the trail was counted with, so one stroke: counted anew should that ever not hold.
    if (!MapStroke(request, visible, removed[k], removedStrokes[k])) return Rebuild(trail, request, visible, lines);
  }
  for (const StrokePoints& stroke : removedStrokes) CountLines<false>(trail, stroke, picture);
  for (const StrokePoints& stroke : addedStrokes) CountLines<true>(trail, stroke, picture);
  trail.lines = lines;
  if (trail.spilled) return Rebuild(trail, request, visible, lines);
  trail.rebuildsInARow = 0;
  return true;
}

void KeptTrailStrokes::Rest(Trail& trail) {
  countBytes_ -= trail.counts.size();
  const std::uint64_t layer = trail.layer;
  trail = Trail{};
  trail.layer = layer;
  trail.restUntil = layer_ + kRestingLayers;
}

std::size_t KeptTrailStrokes::KeptTrails() const {
  return static_cast<std::size_t>(
      std::count_if(trails_.begin(), trails_.end(), [](const auto& entry) { return entry.second.samples != nullptr; }));
}

void KeptTrailStrokes::EndLayer() {
  std::erase_if(trails_, [&](const auto& entry) {
    if (entry.second.layer == layer_) return false;
    countBytes_ -= entry.second.counts.size();
    return true;
  });
  ++layer_;
}

void KeptTrailStrokes::Clear() {
  trails_.clear();
  countBytes_ = 0;
}

}  // namespace ostrel
