#include "tests/support/test_videos.h"

#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/point_file_writer.h"

extern char** environ;

namespace ostrel::testing {
namespace {

struct ContainerCodecs {
  const char* extension;
  const char* name;
  const char* format;
  std::vector<std::string> video;
  std::vector<std::string> audio;
};

const ContainerCodecs& CodecsOf(VideoContainer container) {
  static const ContainerCodecs kAvi{".avi", "AVI", "avi", {"-c:v", "mpeg4", "-q:v", "3"}, {"-c:a", "pcm_s16le"}};
  static const ContainerCodecs kAsf{".asf", "ASF", "asf", {"-c:v", "msmpeg4", "-q:v", "3"}, {"-c:a", "wmav2"}};
  static const ContainerCodecs kWmv{".wmv", "WMV", "asf", {"-c:v", "wmv2", "-q:v", "3"}, {"-c:a", "wmav2"}};
  // Packs stamped with the frames' own times: ffmpeg's default half-second head start of the
  // pack clock is most of a test video's length and throws off the player's estimates of
  // duration and seek points in a file this short.
  static const ContainerCodecs kMpeg{
      ".mpg", "MPEG", "mpeg", {"-c:v", "mpeg1video", "-q:v", "3", "-muxdelay", "0", "-muxpreload", "0"},
      {"-c:a", "mp2"}};
  static const ContainerCodecs kMov{
      ".mov", "MOV", "mov", {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18"}, {"-c:a", "aac"}};
  switch (container) {
    case VideoContainer::Avi: return kAvi;
    case VideoContainer::Asf: return kAsf;
    case VideoContainer::Wmv: return kWmv;
    case VideoContainer::Mpeg: return kMpeg;
    case VideoContainer::Mov: return kMov;
  }
  throw std::invalid_argument("unknown container");
}

// Runs ffmpeg with `arguments`, quietly; throws when it cannot run or fails.
void RunFfmpeg(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot run ffmpeg (is it installed?)");
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string line;
    for (const std::string& part : command) line += part + ' ';
    throw std::runtime_error("ffmpeg failed: " + line);
  }
}

std::string Size(std::int32_t width, std::int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// Quadrants drawn over a red picture, and the box laid over them frame by frame (placed by
// the frame's time, as the overlay's own frame count does not start at the first frame).
std::string PictureFilter(std::int32_t box, std::int32_t frameRate) {
  const std::string size = std::to_string(box);
  const std::string frame = "floor(t*" + std::to_string(frameRate) + "+0.5)";
  return "[0]drawbox=x=iw/2:y=0:w=iw/2:h=ih/2:color=lime:t=fill,"
         "drawbox=x=0:y=ih/2:w=iw/2:h=ih/2:color=blue:t=fill,"
         "drawbox=x=iw/2:y=ih/2:w=iw/2:h=ih/2:color=white:t=fill[bg];"
         "[bg][1]overlay=x='mod(" + frame + "*" + size + ",W-" + size + ")':y=H/4-" + std::to_string(box / 2) +
         ",format=yuv420p[v]";
}

std::vector<std::string> VideoArguments(const std::filesystem::path& path, const TestVideoSpec& spec) {
  const ContainerCodecs& codecs = CodecsOf(spec.container);
  const std::string rate = std::to_string(spec.frameRate);
  const std::string seconds = std::to_string(static_cast<double>(spec.frameCount) / spec.frameRate);
  std::vector<std::string> args = {
      "-f", "lavfi", "-i", "color=c=red:s=" + Size(spec.width, spec.height) + ":r=" + rate,
      "-f", "lavfi", "-i", "color=c=black:s=" + Size(kTestBoxSize, kTestBoxSize) + ":r=" + rate};
  if (spec.withSound) {
    args.insert(args.end(), {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + seconds});
  }
  args.insert(args.end(), {"-filter_complex", PictureFilter(kTestBoxSize, spec.frameRate), "-map", "[v]"});
  if (spec.withSound) args.insert(args.end(), {"-map", "2:a"});
  args.insert(args.end(), {"-frames:v", std::to_string(spec.frameCount), "-r", rate});
  args.insert(args.end(), codecs.video.begin(), codecs.video.end());
  if (spec.withSound) args.insert(args.end(), codecs.audio.begin(), codecs.audio.end());
  args.insert(args.end(), {"-f", codecs.format, path.string()});
  return args;
}

}  // namespace

std::string ContainerExtension(VideoContainer container) { return CodecsOf(container).extension; }
std::string ContainerName(VideoContainer container) { return CodecsOf(container).name; }

std::int32_t TestBoxLeft(std::int32_t frame, std::int32_t width) {
  return frame * kTestBoxSize % (width - kTestBoxSize);
}

TestColour TestPictureColour(std::int32_t x, std::int32_t y, std::int32_t frame, std::int32_t width,
                             std::int32_t height) {
  const std::int32_t boxLeft = TestBoxLeft(frame, width);
  const std::int32_t boxTop = height / 4 - kTestBoxSize / 2;
  if (x >= boxLeft && x < boxLeft + kTestBoxSize && y >= boxTop && y < boxTop + kTestBoxSize) {
    return TestColour::Black;
  }
  const bool right = x >= width / 2;
  if (y < height / 2) return right ? TestColour::Green : TestColour::Red;
  return right ? TestColour::White : TestColour::Blue;
}

void WriteTestVideo(const std::filesystem::path& path, const TestVideoSpec& spec) {
  RunFfmpeg(VideoArguments(path, spec));
}

void WriteSoundOnlyFile(const std::filesystem::path& path, double seconds) {
  RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds),
             "-c:a", "pcm_s16le", path.string()});
}

void WriteTruncatedVideo(const std::filesystem::path& path, const TestVideoSpec& spec,
                         std::uintmax_t keepBytes) {
  WriteTestVideo(path, spec);
  if (std::filesystem::file_size(path) <= keepBytes) {
    throw std::runtime_error("the video is not longer than the bytes to keep");
  }
  std::filesystem::resize_file(path, keepBytes);
}

void WriteEmptyFile(const std::filesystem::path& path) { WriteFileBytes(path, {}); }

void WriteTextFile(const std::filesystem::path& path, const std::string& text) { WriteFileBytes(path, text); }

}  // namespace ostrel::testing
