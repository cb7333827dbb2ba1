#include <gtest/gtest.h>


#include "tests/video/video_fixture.h"
#include "video/bitmap_info_header.h"

namespace ostrel::testing {
namespace {

// Every container the viewer opens, written with sound (the common case) and once without.
struct ContainerCase {
  VideoContainer container;
  bool withSound;
};

class RenderContainerTest : public VideoTest, public ::testing::WithParamInterface<ContainerCase> {};

TEST_P(RenderContainerTest, RendersAndReportsSizeDurationAndGrabberFormat) {
  const TestVideoSpec spec{.width = 160, .height = 120, .frameCount = 25, .frameRate = 25,
                           .container = GetParam().container, .withSound = GetParam().withSound};
  const std::string path = Video("clip", spec);
  auto graph = Graph();
  ASSERT_TRUE(graph);

  ASSERT_TRUE(graph->RenderFile(path)) << graph->RenderError();
  EXPECT_TRUE(graph->RenderError().empty());

  std::int32_t width = 0;
  std::int32_t height = 0;
  ASSERT_TRUE(graph->GetVideoSize(width, height));
  EXPECT_EQ(width, 160);
  EXPECT_EQ(height, 120);

  ReferenceTime current = -1;
  ReferenceTime stop = -1;
  ASSERT_TRUE(graph->GetPositions(current, stop));
  EXPECT_EQ(current, 0);
  // 25 frames at 25 per second; containers round their own way, and MPEG estimates it.
  EXPECT_NEAR(static_cast<double>(stop) / kReferenceUnitsPerSecond, 1.0, 0.2);

  EXPECT_EQ(graph->GetConnectedMediaType(), MakeRgb24Header(160, 120));
  EXPECT_EQ(graph->GetState(), GraphState::Paused);
}

std::string CaseName(const ::testing::TestParamInfo<ContainerCase>& info) {
  return ContainerName(info.param.container) + (info.param.withSound ? "WithSound" : "Silent");
}

INSTANTIATE_TEST_SUITE_P(Containers, RenderContainerTest,
                         ::testing::Values(ContainerCase{VideoContainer::Avi, true},
                                           ContainerCase{VideoContainer::Asf, true},
                                           ContainerCase{VideoContainer::Wmv, true},
                                           ContainerCase{VideoContainer::Mpeg, true},
                                           ContainerCase{VideoContainer::Mov, true},
                                           ContainerCase{VideoContainer::Avi, false},
                                           ContainerCase{VideoContainer::Mov, false}),
                         CaseName);

TEST(BitmapInfoHeaderTest, DescribesPaddedBottomUpRgb24) {
  struct Case {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t sizeImage;
  };
  for (const Case& c : {Case{160, 120, 480u * 120u}, Case{150, 100, 452u * 100u}, Case{1, 1, 4u},
                        Case{1921, 2, 5764u * 2u}}) {
    const BitmapInfoHeader header = MakeRgb24Header(c.width, c.height);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, c.width);
    EXPECT_EQ(header.biHeight, c.height) << "rows bottom-up";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, kBiRgb);
    EXPECT_EQ(header.biSizeImage, c.sizeImage) << c.width << "x" << c.height;
    EXPECT_EQ(header.biClrUsed, 0u);
  }
}

// Files that are not playable videos: each fails to render with a reason, and leaves the
// graph closed and able to render a good file after it.
class BadFileTest : public VideoTest, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string WriteBadFile(const std::string& kind) {
    const TestVideoSpec spec{.frameCount = 20};
    if (kind == "Missing") return folder_.File("missing.avi");
    if (kind == "ZeroBytes") {
      WriteEmptyFile(folder_.File("empty.avi"));
      return folder_.File("empty.avi");
    }
    if (kind == "Truncated") {
      WriteTruncatedVideo(folder_.File("cut.avi"), spec, 1024);
      return folder_.File("cut.avi");
    }
    if (kind == "TextNamedAvi") {
      WriteTextFile(folder_.File("notes.avi"), "frame=1 time=2\nthis is not a video\n");
      return folder_.File("notes.avi");
    }
    if (kind == "SoundOnlyWav") {
      WriteSoundOnlyFile(folder_.File("sound.wav"), 0.3);
      return folder_.File("sound.wav");
    }
    if (kind == "SoundOnlyAvi") {
      WriteSoundOnlyFile(folder_.File("sound.avi"), 0.3);
      return folder_.File("sound.avi");
    }
    ADD_FAILURE() << "unknown case " << kind;
    return {};
  }
};

TEST_P(BadFileTest, FailsCleanlyAndTheGraphStaysUsable) {
  const std::string bad = WriteBadFile(GetParam());
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);

  EXPECT_FALSE(graph->RenderFile(bad));
  EXPECT_FALSE(graph->RenderError().empty());
  EXPECT_EQ(graph->GetState(), GraphState::Stopped);
  ReferenceTime current = 0;
  ReferenceTime stop = 0;
  EXPECT_FALSE(graph->GetPositions(current, stop));
  EXPECT_FALSE(graph->GetConnectedMediaType().has_value());
  std::vector<std::uint8_t> pixels;
  graph->SetBufferSamples(true);
  EXPECT_FALSE(graph->GetCurrentBuffer(pixels));
  EXPECT_FALSE(graph->Run());
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_FALSE(graph->GetEvent().has_value()) << "a failed open leaves no event behind";
  EXPECT_EQ(counts->frames, 0);

  ASSERT_TRUE(graph->RenderFile(Video("good", TestVideoSpec{}))) << graph->RenderError();
  EXPECT_TRUE(graph->GetConnectedMediaType().has_value());
}

INSTANTIATE_TEST_SUITE_P(Files, BadFileTest,
                         ::testing::Values("Missing", "ZeroBytes", "Truncated", "TextNamedAvi",
                                           "SoundOnlyWav", "SoundOnlyAvi"));

TEST_F(VideoTest, RendersAPathWithSpacesAndNonAsciiCharacters) {
  const std::string path = folder_.File("カメラ 1 – clip.avi");
  WriteTestVideo(path, TestVideoSpec{});
  auto graph = Graph();
  ASSERT_TRUE(graph);
  EXPECT_TRUE(graph->RenderFile(path)) << graph->RenderError();
}

TEST_F(VideoTest, CallsBeforeAnyFileReportFailure) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  EXPECT_FALSE(graph->Run());
  EXPECT_FALSE(graph->Stop());
  EXPECT_FALSE(graph->SetPositions(0));
  std::int32_t width = 0;
  std::int32_t height = 0;
  EXPECT_FALSE(graph->GetVideoSize(width, height));
  EXPECT_EQ(graph->GetState(), GraphState::Stopped);
  EXPECT_FALSE(graph->GetEvent().has_value());
  EXPECT_TRUE(graph->CurrentFrame().isNull());
}

}  // namespace
}  // namespace ostrel::testing
