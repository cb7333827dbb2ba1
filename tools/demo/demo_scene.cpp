#include "tools/demo/demo_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ostrel::demo {
namespace {

// A coordinate that runs from `low` to `high` and back, one way in `period` frames.
double Bounce(int frame, int period, double low, double high) {
  const int phase = frame % (2 * period);
  const double t = phase < period ? static_cast<double>(phase) / period
                                  : static_cast<double>(2 * period - phase) / period;
  return low + (high - low) * t;
}

void FillBackground(const SceneSize& size, std::vector<std::uint8_t>& rgb) {
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const bool grid = x % 40 == 0 || y % 40 == 0;
      const auto shade = static_cast<std::uint8_t>(grid ? 70 : 30 + (y * 30) / size.height);
      std::uint8_t* pixel = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                                  static_cast<std::size_t>(x)) * 3];
      pixel[0] = shade;
      pixel[1] = shade;
      pixel[2] = static_cast<std::uint8_t>(shade + 10);
    }
  }
}

bool Covers(const ObjectState& object, int x, int y) {
  const double dx = x + 0.5 - object.x;
  const double dy = y + 0.5 - object.y;
  if (object.shape == Shape::Square) return std::abs(dx) <= object.radius && std::abs(dy) <= object.radius;
  return dx * dx + dy * dy <= object.radius * object.radius;
}

void DrawObject(const SceneSize& size, const ObjectState& object, std::vector<std::uint8_t>& rgb) {
  const int left = std::max(0, static_cast<int>(object.x - object.radius) - 1);
  const int right = std::min(size.width - 1, static_cast<int>(object.x + object.radius) + 1);
  const int top = std::max(0, static_cast<int>(object.y - object.radius) - 1);
  const int bottom = std::min(size.height - 1, static_cast<int>(object.y + object.radius) + 1);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (!Covers(object, x, y)) continue;
      std::uint8_t* pixel = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                                  static_cast<std::size_t>(x)) * 3];
      pixel[0] = object.red;
      pixel[1] = object.green;
      pixel[2] = object.blue;
    }
  }
}

// Object `index` beyond the classic ones: an ellipse of its own size, speed and phase, so
// that many objects spread over the whole picture without sharing a path.
ObjectState OrbitingObject(const SceneSize& size, int index, int frame) {
  const double w = size.width;
  const double h = size.height;
  const double period = (4.0 + index % 5) * size.fps;
  const double angle = 2 * std::numbers::pi * (frame / period + index * 0.137);
  const double reachX = 0.1 + 0.03 * (index % 7);
  const double reachY = 0.1 + 0.025 * (index % 9);
  const double centreX = 0.2 + 0.6 * ((index * 37) % 100) / 100.0;
  const double centreY = 0.2 + 0.6 * ((index * 61) % 100) / 100.0;
  const auto shade = static_cast<std::uint8_t>(90 + (index * 53) % 160);
  return {w * (centreX + reachX * std::cos(angle)), h * (centreY + reachY * std::sin(angle)), 0.03 * h,
          index % 2 == 0 ? Shape::Disc : Shape::Square, shade, static_cast<std::uint8_t>(255 - shade), 150, false};
}

}  // namespace

std::vector<ObjectState> DemoScene::ObjectsAt(int frame) const {
  std::vector<ObjectState> objects = ClassicObjectsAt(frame);
  for (int index = kClassicObjects; index < size_.objects; ++index) {
    objects.push_back(OrbitingObject(size_, index, frame));
  }
  return objects;
}

std::vector<ObjectState> DemoScene::ClassicObjectsAt(int frame) const {
  const double w = size_.width;
  const double h = size_.height;
  const double angle = 2 * std::numbers::pi * frame / (6.0 * size_.fps);
  const int crossing = 5 * size_.fps;  // frames for the wrapping object to cross the picture
  const double runner = 0.1 * w + 0.8 * w * (frame % crossing) / crossing;
  return {
      {Bounce(frame, 4 * size_.fps, 0.15 * w, 0.85 * w), 0.3 * h, 0.04 * h, Shape::Disc, 230, 70, 60, false},
      {0.5 * w + 0.2 * w * std::cos(angle), 0.55 * h + 0.2 * h * std::sin(angle), 0.05 * h, Shape::Disc, 80, 200, 90, false},
      {Bounce(frame, 3 * size_.fps, 0.2 * w, 0.8 * w), Bounce(frame, 2 * size_.fps, 0.2 * h, 0.85 * h), 0.04 * h,
       Shape::Square, 70, 120, 235, false},
      {runner, 0.8 * h, 0.035 * h, Shape::Disc, 240, 220, 60, frame > 0 && frame % crossing == 0},
  };
}

void DemoScene::Render(int frame, std::vector<std::uint8_t>& rgb) const {
  rgb.resize(static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height) * 3);
  FillBackground(size_, rgb);
  for (const ObjectState& object : ObjectsAt(frame)) DrawObject(size_, object, rgb);
}

}  // namespace ostrel::demo
