#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace ostrel::testing {

// The containers the viewer opens; each written with codecs typical of it.
enum class VideoContainer { Avi, Asf, Wmv, Mpeg, Mov };

// ".avi", ".asf", ".wmv", ".mpg", ".mov".
std::string ContainerExtension(VideoContainer container);
std::string ContainerName(VideoContainer container);

// A generated video. MPEG-1 allows only the standard rates (24, 25, 30, 50, 60); sizes should
// be even.
struct TestVideoSpec {
  std::int32_t width = 160;
  std::int32_t height = 120;
  std::int32_t frameCount = 10;
  std::int32_t frameRate = 25;
  VideoContainer container = VideoContainer::Avi;
  bool withSound = false;
};

// The picture of every frame: four quadrants, red top left, green top right, blue bottom
// left, white bottom right, and a black box that tells the frames apart, moving right by its
// own width each frame along the top half (wrapping round), its top at height/4 - size/2.
inline constexpr std::int32_t kTestBoxSize = 16;
enum class TestColour { Red, Green, Blue, White, Black };
// The box's left edge in frame `frame`.
std::int32_t TestBoxLeft(std::int32_t frame, std::int32_t width);
// The colour at (x, y), y from the top, in frame `frame`.
TestColour TestPictureColour(std::int32_t x, std::int32_t y, std::int32_t frame, std::int32_t width,
                             std::int32_t height);

// Writes the video with the `ffmpeg` command-line tool; throws std::runtime_error when it
// cannot.
void WriteTestVideo(const std::filesystem::path& path, const TestVideoSpec& spec);
// Sound without any picture, in the container the extension names (".avi", ".wav", ...).
void WriteSoundOnlyFile(const std::filesystem::path& path, double seconds);
// The first `keepBytes` bytes of the video `spec` describes.
void WriteTruncatedVideo(const std::filesystem::path& path, const TestVideoSpec& spec,
                         std::uintmax_t keepBytes);
void WriteEmptyFile(const std::filesystem::path& path);
// Plain text under whatever name is given, such as "notes.avi".
void WriteTextFile(const std::filesystem::path& path, const std::string& text);

}  // namespace ostrel::testing
