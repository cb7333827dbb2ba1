#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "overlay/picture_mapping.h"
#include "overlay/video_rect.h"
#include "overlay/xor_record.h"
#include "track/track_store.h"

namespace ostrel {

// How a trail is drawn: through `videoRect`, onto a picture of `picture`, with a pen of
// `penWidth` pixels and colour bits `bits`.
struct TrailLook {
  VideoRect videoRect;
  QSize picture;
  std::int32_t penWidth = 0;
  std::uint32_t bits = 0;

  bool operator==(const TrailLook&) const = default;
};

// One trajectory's live trail as a redraw asks for it: the trail back from `sample`.
// `trajectory` names the trajectory from one redraw to the next.
struct TrailRequest {
  std::int32_t trajectory = 0;
  const SampleArray* samples = nullptr;
  std::int32_t sample = 0;
  TrailLook look;
};

// The live trails of the last redraw, each kept as the number of its lines over every pixel
// around it. From one redraw to the next a trail gains a few lines at one end and loses a few
// at the other: only those are walked, and the stroke, the pixels some line covers, is read
// off the kept counts. Playback moves a trail a few samples a redraw; walking all of its fifty
// lines again each time was most of a redraw's work.
//
// Only a trail that is one unbroken stroke is kept: every sample from the current one back to
// the reach or the last break visible, and no step too long to join. Any other trail (a pen
// lift, a pen too wide, a stroke too large to count) is left for the caller to draw, and so
// is a trail that outruns its counts redraw after redraw, each for a few redraws.
class KeptTrailStrokes {
 public:
  // Appends the runs of the request's trail stroke to `record`, each pixel once, and keeps the
  // trail: true. False when the trail is not kept: `record` is left as it was and the
  // trajectory's kept trail dropped.
  bool Append(const TrailRequest& request, XorRecord& record);
  // Drops the trails that were not appended since the last call: they are out of the frame.
  void EndLayer();
  void Clear();

  // The trails kept now, for tests.
  std::size_t KeptTrails() const;

  // The lines of a trail are named by their newer sample: line i joins samples i and i - 1.
  struct LineRange {
    std::int32_t first = 0;
    std::int32_t last = -1;
  };

  // The pixels of the samples of a run of a trail's lines, lines.first - 1 .. lines.last, the
  // oldest first: line i goes from point i - lines.first + 1 to the point before it.
  struct StrokePoints {
    static constexpr std::size_t kMost = 51;  // a trail's reach and its current sample
    std::array<PixelPoint, kMost> points;
    std::size_t count = 0;
  };

 private:
  struct Trail;

  bool Rebuild(Trail& trail, const TrailRequest& request, const VisibleArea& visible, LineRange lines);
  bool Update(Trail& trail, const TrailRequest& request, const VisibleArea& visible, LineRange lines);
  // Adds one to (or takes one from) the count of every pixel the line from `from` to `to`
  // paints.
  template <bool Add>
  static void CountLine(Trail& trail, PixelPoint from, PixelPoint to, const QRect& picture);
  // The same for each line of a stroke.
  template <bool Add>
  static void CountLines(Trail& trail, const StrokePoints& stroke, const QRect& picture);
  // Gives back the trail's counts and leaves it to the caller for a while.
  void Rest(Trail& trail);

  std::unordered_map<std::int32_t, Trail> trails_;
  std::size_t countBytes_ = 0;  // of all kept trails
  std::uint64_t layer_ = 0;
};

struct KeptTrailStrokes::Trail {
  // What the counts were made for: any difference makes them anew.
  const TrajectorySample* samples = nullptr;
  std::size_t sampleCount = 0;
  TrailLook look;
  LineRange lines;
  // The pixels of `area` (inside the picture), row by row: how many lines cover each, and a
  // bit for each that some line covers, with the number of such bits in each row.
  QRect area;
  std::vector<std::uint8_t> counts;
  std::vector<std::uint64_t> covered;
  std::vector<std::uint32_t> rowCovered;
  std::size_t wordsPerRow = 0;
  bool spilled = false;  // a line reached outside `area`: the counts are not whole
  int rebuildsInARow = 0;
  std::uint64_t layer = 0;         // the last layer that asked for the trail
  std::uint64_t restUntil = 0;     // no counts are made before this layer
};

}  // namespace ostrel
