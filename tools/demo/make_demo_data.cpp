// Writes a demo camera folder: videos of a few moving objects with the point file,
// trajectory file and camera log that a tracker would have written for them, so that the
// viewer's overlay visibly sits on the objects.
//
//   make_demo_data FOLDER [--containers avi,asf,wmv,mpg,mov|all] [--seconds N] [--sound]
//                  [--size WIDTHxHEIGHT] [--objects N]
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/demo/demo_tracks.h"
#include "tools/demo/video_encoder.h"

namespace {

namespace fs = std::filesystem;
using namespace ostrel::demo;

struct Options {
  fs::path folder;
  std::vector<Container> containers;
  int seconds = 20;
  bool withSound = false;
  int width = 640;
  int height = 480;
  int objects = DemoScene::kClassicObjects;
};

std::vector<Container> ChooseContainers(const std::string& list) {
  std::vector<Container> chosen;
  std::stringstream names(list);
  std::string name;
  while (std::getline(names, name, ',')) {
    bool known = false;
    for (const Container& container : KnownContainers()) {
      if (name == "all" || name == container.extension) {
        chosen.push_back(container);
        known = true;
      }
    }
    if (!known) throw std::invalid_argument("unknown container '" + name + "'");
  }
  return chosen;
}

// "1280x720"; even sizes only, as the encoders' 4:2:0 pictures need.
void ReadSize(const std::string& text, Options& options) {
  const std::size_t cross = text.find('x');
  if (cross == std::string::npos) throw std::invalid_argument("--size: WIDTHxHEIGHT");
  options.width = std::stoi(text.substr(0, cross));
  options.height = std::stoi(text.substr(cross + 1));
  if (options.width < 64 || options.height < 64 || options.width > 7680 || options.height > 4320 ||
      options.width % 2 != 0 || options.height % 2 != 0) {
    throw std::invalid_argument("--size: even sizes from 64x64 to 7680x4320");
  }
}

Options ParseOptions(int argc, char** argv) {
  if (argc < 2) throw std::invalid_argument("no folder given");
  Options options{argv[1], ChooseContainers("avi")};
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--sound") {
      options.withSound = true;
    } else if (option == "--containers" && i + 1 < argc) {
      options.containers = ChooseContainers(argv[++i]);
    } else if (option == "--seconds" && i + 1 < argc) {
      options.seconds = std::stoi(argv[++i]);
      if (options.seconds < 1 || options.seconds > 3600) throw std::invalid_argument("--seconds: 1 to 3600");
    } else if (option == "--size" && i + 1 < argc) {
      ReadSize(argv[++i], options);
    } else if (option == "--objects" && i + 1 < argc) {
      options.objects = std::stoi(argv[++i]);
      if (options.objects < 1 || options.objects > 1000) throw std::invalid_argument("--objects: 1 to 1000");
    } else {
      throw std::invalid_argument("unknown option '" + option + "'");
    }
  }
  return options;
}

// demo01.avi, demo02.asf, ...: the names differ only in their digits, so all share demo.log.
std::string VideoName(std::size_t index) {
  return std::string("demo") + (index < 9 ? "0" : "") + std::to_string(index + 1);
}

void WriteVideo(const DemoScene& scene, const fs::path& path, const Container& container, bool withSound) {
  VideoEncoder encoder(path.string(), container, scene.size(), withSound);
  std::vector<std::uint8_t> rgb;
  for (int frame = 0; frame < scene.size().frames; ++frame) {
    scene.Render(frame, rgb);
    encoder.Write(rgb);
  }
  encoder.Finish();
}

void WriteDemo(const Options& options) {
  fs::create_directories(options.folder);
  const DemoScene scene({options.width, options.height, 30, 30 * options.seconds, options.objects});
  const auto points = DemoPoints(scene);
  const auto trajectories = DemoTrajectories(scene);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < options.containers.size(); ++i) {
    const std::string name = VideoName(i);
    names.push_back(name);
    const fs::path video = options.folder / (name + "." + options.containers[i].extension);
    WriteVideo(scene, video, options.containers[i], options.withSound);
    ostrel::testing::WritePointFile(options.folder / (name + ".lpa"), points);
    ostrel::testing::WriteTrajectoryFile(options.folder / (name + ".traj"), trajectories);
    std::cout << video.string() << '\n';
  }
  ostrel::testing::WriteTimeLog(options.folder / "demo.log", DemoTimeLog(names));
}

}  // namespace

int main(int argc, char** argv) {
  try {
    WriteDemo(ParseOptions(argc, argv));
  } catch (const std::invalid_argument& error) {
    std::cerr << "make_demo_data: " << error.what()
              << "\nusage: make_demo_data FOLDER [--containers avi,asf,wmv,mpg,mov|all] [--seconds N] [--sound]\n"
                 "                      [--size WIDTHxHEIGHT] [--objects N]\n";
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "make_demo_data: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
