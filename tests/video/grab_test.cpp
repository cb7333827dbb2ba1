#include <gtest/gtest.h>

#include "tests/video/video_fixture.h"
#include "video/bitmap_info_header.h"

namespace ostrel::testing {
namespace {

// 150 pixels of 3 bytes make 450 bytes: every row carries 2 bytes of padding.
constexpr std::int32_t kWidth = 150;
constexpr std::int32_t kHeight = 100;
constexpr ReferenceTime kFrameTime = kReferenceUnitsPerSecond / 25;

// Inside frame `frame`'s time, clear of the containers' rounding of frame stamps.
constexpr ReferenceTime FrameMiddle(std::int32_t frame) { return frame * kFrameTime + kFrameTime / 2; }

// Reads the grabbed bottom-up BGR buffer as a picture with y from the top.
struct BottomUpBgr {
  const std::vector<std::uint8_t>& pixels;
  std::int64_t rowBytes;
  std::int32_t height;

  std::tuple<std::uint8_t, std::uint8_t, std::uint8_t> operator()(std::int32_t x, std::int32_t y) const {
    const std::size_t at = static_cast<std::size_t>((height - 1 - y) * rowBytes + x * 3);
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
  }
};

// Points well inside each region of the test picture, away from the codecs' blurred edges.
void ExpectTestPicture(const BottomUpBgr& picture, std::int32_t frame) {
  struct Probe {
    std::int32_t x;
    std::int32_t y;
  };
  for (const Probe& p : {Probe{kWidth / 4, kHeight / 2 - 8}, Probe{kWidth * 3 / 4, kHeight / 2 - 8},
                         Probe{kWidth / 4, kHeight * 3 / 4}, Probe{kWidth * 3 / 4, kHeight * 3 / 4},
                         Probe{TestBoxLeft(frame, kWidth) + kTestBoxSize / 2, kHeight / 4},
                         Probe{8, kHeight - 4}, Probe{kWidth - 6, 3}}) {
    const auto [b, g, r] = picture(p.x, p.y);
    const TestColour expected = TestPictureColour(p.x, p.y, frame, kWidth, kHeight);
    EXPECT_TRUE(LooksLike(b, g, r, expected))
        << "at " << p.x << "," << p.y << ": b=" << int{b} << " g=" << int{g} << " r=" << int{r}
        << ", expected colour " << static_cast<int>(expected);
  }
}

class GrabContainerTest : public VideoTest, public ::testing::WithParamInterface<VideoContainer> {};

TEST_P(GrabContainerTest, GrabbedFrameIsTheHeadersBottomUpBgrLayout) {
  const TestVideoSpec spec{.width = kWidth, .height = kHeight, .frameCount = 12, .container = GetParam()};
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", spec))) << graph->RenderError();
  graph->SetBufferSamples(true);

  const BitmapInfoHeader header = graph->GetConnectedMediaType().value();
  ASSERT_EQ(header, MakeRgb24Header(kWidth, kHeight));
  std::vector<std::uint8_t> pixels;
  ASSERT_TRUE(graph->GetCurrentBuffer(pixels));
  ASSERT_EQ(pixels.size(), header.biSizeImage);
  const std::int64_t rowBytes = Rgb24RowBytes(kWidth);
  ASSERT_EQ(rowBytes, 452);
  ExpectTestPicture({pixels, rowBytes, kHeight}, 0);
  for (std::int32_t row = 0; row < kHeight; ++row) {
    EXPECT_EQ(pixels[static_cast<std::size_t>(row * rowBytes + 450)], 0) << "padding of row " << row;
    EXPECT_EQ(pixels[static_cast<std::size_t>(row * rowBytes + 451)], 0) << "padding of row " << row;
  }

  // A later frame: the grab follows the picture.
  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));
  const int framesBefore = counts->frames;
  ASSERT_TRUE(graph->SetPositions(FrameMiddle(7)));
  ASSERT_TRUE(PumpUntil([&] { return counts->frames > framesBefore; }));
  ASSERT_TRUE(graph->GetCurrentBuffer(pixels));
  ExpectTestPicture({pixels, rowBytes, kHeight}, 7);
}

INSTANTIATE_TEST_SUITE_P(Containers, GrabContainerTest,
                         ::testing::Values(VideoContainer::Avi, VideoContainer::Asf, VideoContainer::Wmv,
                                           VideoContainer::Mpeg, VideoContainer::Mov),
                         [](const auto& param) { return ContainerName(param.param); });

TEST_F(VideoTest, BufferingHoldsTheFrameOfTheMomentItIsSwitchedOff) {
  const TestVideoSpec spec{.width = kWidth, .height = kHeight, .frameCount = 12};
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", spec))) << graph->RenderError();
  std::vector<std::uint8_t> pixels;
  EXPECT_FALSE(graph->GetCurrentBuffer(pixels)) << "nothing is buffered until asked";
  EXPECT_TRUE(pixels.empty());

  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));
  graph->SetBufferSamples(true);
  const auto seekTo = [&](std::int32_t frame) {
    const int framesBefore = counts->frames;
    ASSERT_TRUE(graph->SetPositions(FrameMiddle(frame)));
    ASSERT_TRUE(PumpUntil([&] { return counts->frames > framesBefore; }));
  };
  seekTo(4);
  graph->SetBufferSamples(false);
  seekTo(9);
  ASSERT_TRUE(graph->GetCurrentBuffer(pixels));
  ExpectTestPicture({pixels, Rgb24RowBytes(kWidth), kHeight}, 4);

  graph->SetBufferSamples(true);
  ASSERT_TRUE(graph->GetCurrentBuffer(pixels));
  ExpectTestPicture({pixels, Rgb24RowBytes(kWidth), kHeight}, 9);
}

}  // namespace
}  // namespace ostrel::testing
