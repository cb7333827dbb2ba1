#include "tools/demo/video_encoder.h"

#include <stdexcept>
#include <sys/wait.h>

namespace ostrel::demo {
namespace {

// A path as one shell word.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string EncoderCommand(const std::string& path, const Container& container, const SceneSize& size,
                           bool withSound) {
  std::string command = "ffmpeg -v error -y -f rawvideo -pix_fmt rgb24 -s " + std::to_string(size.width) + "x" +
                        std::to_string(size.height) + " -r " + std::to_string(size.fps) + " -i -";
  if (withSound) command += " -f lavfi -i sine=frequency=440:sample_rate=44100";
  command += " -map 0:v -c:v " + container.videoCodec + " -pix_fmt yuv420p";
  if (withSound) command += " -map 1:a -c:a " + container.audioCodec + " -shortest";
  return command + " " + Quoted(path);
}

}  // namespace

const std::vector<Container>& KnownContainers() {
  static const std::vector<Container> containers = {
      {"avi", "mpeg4 -q:v 3", "pcm_s16le"},
      {"asf", "wmv2 -b:v 2M", "wmav2"},
      {"wmv", "wmv2 -b:v 2M", "wmav2"},
      {"mpg", "mpeg1video -b:v 3M", "mp2"},
      {"mov", "libx264 -preset fast -crf 20", "aac"},
  };
  return containers;
}

VideoEncoder::VideoEncoder(const std::string& path, const Container& container, const SceneSize& size,
                           bool withSound)
    : pipe_(popen(EncoderCommand(path, container, size, withSound).c_str(), "w")), path_(path) {
  if (!pipe_) throw std::runtime_error("cannot start ffmpeg for " + path);
}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::Write(const std::vector<std::uint8_t>& rgb) {
  if (std::fwrite(rgb.data(), 1, rgb.size(), pipe_.get()) != rgb.size()) failed_ = true;
}

void VideoEncoder::Finish() {
  const int status = pclose(pipe_.release());
  if (failed_ || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("ffmpeg could not write " + path_);
  }
}

}  // namespace ostrel::demo
