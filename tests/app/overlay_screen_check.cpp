// Checks the viewer's window against the demo data, for the end-to-end test: the picture on
// screen shows the demo frame's rim points as discs that invert it, and the annotated
// snapshots in the demo folder have white discs where the data puts them.
// Usage: overlay_screen_check WINDOW_ID BAR_TOP DEMO_FOLDER FRAME SNAPSHOT...
// BAR_TOP is the control bar's top edge in the window. The plain frame is the folder's 1.bmp.
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "overlay/picture_mapping.h"
#include "tools/demo/demo_tracks.h"

namespace {

using ostrel::TrackPoint;
using ostrel::VideoRect;
using Rgb = std::array<int, 3>;

constexpr int kVideoWidth = 640;
constexpr int kVideoHeight = 480;
constexpr int kTolerance = 48;  // the picture passes through a lossy video codec

struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgrx;
  Rgb At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return {bgrx[at + 2], bgrx[at + 1], bgrx[at]};
  }
};

struct Bitmap {
  std::vector<std::uint8_t> bytes;
  bool Whole() const { return bytes.size() == 54u + kVideoWidth * 3u * kVideoHeight; }
  Rgb At(int x, int y) const {
    const std::size_t at = 54 + static_cast<std::size_t>(kVideoHeight - 1 - y) * kVideoWidth * 3 + static_cast<std::size_t>(x) * 3;
    return {bytes[at + 2], bytes[at + 1], bytes[at]};
  }
};

int failures = 0;

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return {};
  std::vector<std::uint8_t> bytes(size);
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) return {};
  return bytes;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "overlay check: %s\n", what.c_str());
  ++failures;
}

bool Near(const Rgb& a, const Rgb& b) {
  for (std::size_t i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > kTolerance) return false;
  return true;
}

Rgb Inverted(const Rgb& c) { return {255 - c[0], 255 - c[1], 255 - c[2]}; }

bool TakeScreenshot(xcb_window_t window, Screenshot& shot) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> closer(connection, &xcb_disconnect);
  if (xcb_connection_has_error(connection)) return false;
  const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
  if (!geometry) return false;
  const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
      xcb_get_image_reply(connection,
                          xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                                        geometry->height, ~0u),
                          nullptr),
      &std::free);
  if (!image || image->depth < 24) return false;
  shot.width = geometry->width;
  shot.height = geometry->height;
  const std::uint8_t* data = xcb_get_image_data(image.get());
  shot.bgrx.assign(data, data + xcb_get_image_data_length(image.get()));
  return shot.bgrx.size() >= static_cast<std::size_t>(shot.width) * static_cast<std::size_t>(shot.height) * 4;
}

// The picture's place in the window. The window is wider than the picture's aspect, so the
// picture fills the height between menu bar and control bar and is centred across; its
// left edge is where the letterbox bar's colour ends.
bool FindPicture(const Screenshot& shot, int barTop, VideoRect& picture, int& clientTop) {
  const int row = barTop - 40;
  const Rgb bar = shot.At(0, row);
  int left = 0;
  while (left < shot.width / 2 && shot.At(left, row) == bar) ++left;
  for (int availH = barTop; availH > 0; --availH) {
    const int width = availH * kVideoWidth / kVideoHeight;
    if (width == shot.width - 2 * left || width == shot.width - 2 * left - 1) {
      picture = {left, 0, width, availH};
      clientTop = barTop - availH;
      return true;
    }
  }
  return false;
}

// The disc's inner pixels on screen are the plain frame inverted (within the codec's error and
// a pixel of scaling).
void CheckScreen(const Screenshot& shot, const VideoRect& picture, int clientTop, const Bitmap& plain,
                 const std::vector<TrackPoint>& points) {
  int checked = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i % 3 == 0 || !ostrel::IsPointVisible(points[i], picture)) continue;  // centres carry trails
    const ostrel::PixelPoint centre = ostrel::MapToWindow(points[i], picture);
    int inverted = 0;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int sx = static_cast<int>(centre.x) - 1 + dx;
        const int sy = static_cast<int>(centre.y) - 1 + dy;
        const Rgb shown = shot.At(sx, sy + clientTop);
        const int nx = (sx - picture.left) * kVideoWidth / picture.width;
        const int ny = sy * kVideoHeight / picture.height;
        bool match = false;
        for (int my = -1; my <= 1 && !match; ++my)
          for (int mx = -1; mx <= 1 && !match; ++mx) {
            const Rgb under = plain.At(std::clamp(nx + mx, 0, kVideoWidth - 1), std::clamp(ny + my, 0, kVideoHeight - 1));
            match = Near(shown, Inverted(under)) && !Near(shown, under);
          }
        inverted += match ? 1 : 0;
      }
    }
    if (inverted < 7) Fail("point " + std::to_string(i) + " at " + std::to_string(centre.x) + "," + std::to_string(centre.y) + ": only " + std::to_string(inverted) + " of 9 pixels inverted");
    ++checked;
  }
  if (checked < 4) Fail("too few visible rim points: " + std::to_string(checked));
  // Away from every object the picture is shown as it is.
  for (const auto& [fx, fy] : {std::pair{0.03, 0.03}, std::pair{0.97, 0.97}}) {
    const int sx = picture.left + static_cast<int>(fx * picture.width);
    const int sy = static_cast<int>(fy * picture.height);
    const Rgb under = plain.At(static_cast<int>(fx * kVideoWidth), static_cast<int>(fy * kVideoHeight));
    if (!Near(shot.At(sx, sy + clientTop), under)) Fail("the plain picture is not shown at " + std::to_string(sx) + "," + std::to_string(sy));
  }
}

void CheckSnapshot(const std::string& path, const Bitmap& plain, const std::vector<TrackPoint>& points,
                   const VideoRect& picture) {
  Bitmap annotated{ReadFile(path)};
  if (!annotated.Whole()) return Fail(path + " is not a whole 640 x 480 snapshot");
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i % 3 == 0 || !ostrel::IsPointVisible(points[i], picture)) continue;
    const ostrel::PixelPoint at = ostrel::MapToPicture(points[i], kVideoWidth, kVideoHeight);
    const int x = static_cast<int>(at.x);
    const int y = static_cast<int>(at.y);
    if (annotated.At(x, y) != Rgb{255, 255, 255}) Fail(path + ": no white disc at " + std::to_string(x) + "," + std::to_string(y));
    if (plain.At(x, y) == annotated.At(x, y)) Fail(path + ": the plain frame is white at " + std::to_string(x) + "," + std::to_string(y));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s WINDOW_ID BAR_TOP DEMO_FOLDER FRAME SNAPSHOT...\n", argv[0]);
    return 2;
  }
  const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
  const int barTop = std::atoi(argv[2]);
  const std::filesystem::path folder = argv[3];
  const int frame = std::atoi(argv[4]);

  const Bitmap plain{ReadFile(folder / "1.bmp")};
  if (!plain.Whole()) {
    std::fprintf(stderr, "overlay check: 1.bmp is not a whole 640 x 480 frame\n");
    return 1;
  }
  Screenshot shot;
  if (!TakeScreenshot(window, shot)) {
    std::fprintf(stderr, "overlay check: cannot read the window's pixels\n");
    return 1;
  }
  VideoRect picture;
  int clientTop = 0;
  if (!FindPicture(shot, barTop, picture, clientTop)) {
    std::fprintf(stderr, "overlay check: cannot find the letterboxed picture\n");
    return 1;
  }
  const ostrel::demo::DemoScene scene({kVideoWidth, kVideoHeight, 30, 600});
  const std::vector<TrackPoint> points = ostrel::demo::DemoPoints(scene).at(static_cast<std::size_t>(frame)).points;
  CheckScreen(shot, picture, clientTop, plain, points);
  for (int i = 5; i < argc; ++i) CheckSnapshot((folder / argv[i]).string(), plain, points, picture);
  if (failures == 0) std::printf("picture %d,%d %dx%d below %d: every check passed\n", picture.left, picture.top, picture.width, picture.height, clientTop);
  return failures == 0 ? 0 : 1;
}
