#include "cli/render_progress.h"

#include <algorithm>
#include <cstdio>

namespace ostrel::cli {
namespace {

// Off a terminal a line every few seconds is enough to see that a long export is alive.
constexpr double kPlainLineSeconds = 5.0;

std::string Clock(double seconds) {
  const auto total = static_cast<long long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  return text;
}

// The part of the range behind `position`, 0 to 1; negative while the length is unknown.
double DoneFraction(const RenderProgress& progress, const RenderRange& range) {
  if (progress.duration <= 0) return -1;
  const ReferenceTime end = range.to ? std::min(*range.to, progress.duration) : progress.duration;
  const ReferenceTime span = end - range.from;
  if (span <= 0) return -1;
  return std::clamp(static_cast<double>(progress.position - range.from) / static_cast<double>(span), 0.0, 1.0);
}

}  // namespace

std::string FormatRenderProgress(const RenderProgress& progress, const RenderRange& range,
                                 double elapsedSeconds) {
  const double fps = elapsedSeconds > 0 ? static_cast<double>(progress.frames) / elapsedSeconds : 0;
  char text[128];
  const double done = DoneFraction(progress, range);
  if (done < 0) {
    std::snprintf(text, sizeof text, "render  %llu frames  %.1f fps",
                  static_cast<unsigned long long>(progress.frames), fps);
    return text;
  }
  const std::string left = done > 0 ? Clock(elapsedSeconds * (1 - done) / done) : "-:--:--";
  std::snprintf(text, sizeof text, "render %3d%%  %.1f fps  %s left", static_cast<int>(done * 100), fps,
                left.c_str());
  return text;
}

RenderProgressLine::RenderProgressLine(std::ostream& err, bool terminal, RenderRange range)
    : err_(err), terminal_(terminal), range_(range), start_(std::chrono::steady_clock::now()) {}

double RenderProgressLine::Elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void RenderProgressLine::Show(const RenderProgress& progress) {
  const double elapsed = Elapsed();
  if (terminal_) {
    // The trailing blanks wipe what a longer line before left behind.
    err_ << '\r' << FormatRenderProgress(progress, range_, elapsed) << "   " << std::flush;
    shown_ = true;
    return;
  }
  if (shown_ && elapsed - lastLine_ < kPlainLineSeconds) return;
  err_ << FormatRenderProgress(progress, range_, elapsed) << '\n' << std::flush;
  lastLine_ = elapsed;
  shown_ = true;
}

void RenderProgressLine::Finish(const RenderProgress& progress) {
  // The last frame starts before the end it reaches: a finished render is all done.
  RenderProgress finished = progress;
  finished.position = std::max(finished.position, finished.duration);
  const std::string line = FormatRenderProgress(finished, range_, Elapsed());
  err_ << (terminal_ ? "\r" : "") << line << (terminal_ ? "   \n" : "\n") << std::flush;
}

}  // namespace ostrel::cli
