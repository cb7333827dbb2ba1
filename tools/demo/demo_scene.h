#pragma once

#include <cstdint>
#include <vector>

namespace ostrel::demo {

// The picture of the demo video: a few objects moving over a plain background, each drawn
// as a disc or a square, so that a viewer can see the overlay sit on them.
struct SceneSize {
  int width = 640;
  int height = 480;
  int fps = 30;
  int frames = 600;
  int objects = 4;  // the first four are the classic demo; more are added for load tests
};

enum class Shape { Disc, Square };

struct ObjectState {
  double x = 0;  // centre in pixels, y downwards
  double y = 0;
  double radius = 0;
  Shape shape = Shape::Disc;
  std::uint8_t red = 0, green = 0, blue = 0;
  bool wrapped = false;  // jumped back to the other edge in this frame
};

class DemoScene {
 public:
  explicit DemoScene(const SceneSize& size) : size_(size) {}

  const SceneSize& size() const { return size_; }
  // The objects every demo has; further ones circle on their own orbits.
  static constexpr int kClassicObjects = 4;

  // Where every object is in frame `frame`.
  std::vector<ObjectState> ObjectsAt(int frame) const;
  // The frame's pixels, RGB, top row first.
  void Render(int frame, std::vector<std::uint8_t>& rgb) const;

 private:
  std::vector<ObjectState> ClassicObjectsAt(int frame) const;

  SceneSize size_;
};

}  // namespace ostrel::demo
