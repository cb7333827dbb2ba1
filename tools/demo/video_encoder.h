#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/demo/demo_scene.h"

namespace ostrel::demo {

// The containers a camera's videos come in, each with the codecs such files usually hold.
struct Container {
  std::string extension;   // "avi"
  std::string videoCodec;  // ffmpeg encoder and its options
  std::string audioCodec;
};
const std::vector<Container>& KnownContainers();

// Encodes raw RGB frames into a video file with the ffmpeg command-line tool, fed through a
// pipe; optionally with a sine tone as its sound track.
class VideoEncoder {
 public:
  VideoEncoder(const std::string& path, const Container& container, const SceneSize& size, bool withSound);
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  void Write(const std::vector<std::uint8_t>& rgb);
  // Waits for ffmpeg; throws std::runtime_error when the file could not be made.
  void Finish();

 private:
  struct PipeCloser {
    void operator()(std::FILE* pipe) const { pclose(pipe); }
  };
  std::unique_ptr<std::FILE, PipeCloser> pipe_;
  std::string path_;
  bool failed_ = false;
};

}  // namespace ostrel::demo
