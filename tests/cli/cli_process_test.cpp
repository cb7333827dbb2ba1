// The installed program itself: its entry point, exit statuses and streams.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "tests/cli/inspect_fixture.h"

namespace ostrel {
namespace {

struct ProcessResult {
  int status = -1;
  std::string out;
};

// Runs ostrel-cli with `arguments` (already quoted for the shell), standard error discarded,
// in `folder` when one is given.
ProcessResult RunProgram(const std::string& arguments, const std::string& folder = "") {
  const std::string in = folder.empty() ? "" : "cd '" + folder + "' && ";
  const std::string command = in + std::string(OSTREL_CLI_PATH) + " " + arguments + " 2>/dev/null";
  ProcessResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> chunk{};
  std::size_t got = 0;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) result.out.append(chunk.data(), got);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// A video named from its own folder, as a user in that folder types it, finds its
// companion files there.
TEST(CliProgram, ABareVideoNameIsFoundInTheWorkingDirectory) {
  testing::InspectFixture fixture;
  const std::string folder = std::filesystem::path(fixture.Video()).parent_path().string();
  const std::string name = std::filesystem::path(fixture.Video()).filename().string();
  const ProcessResult result = RunProgram("inspect '" + name + "'", folder);
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, ::testing::HasSubstr("startMs 35890540"));
}

TEST(CliProgram, ExitsWithTheStatusOfWhatItFound) {
  testing::InspectFixture fixture;
  const std::string video = "'" + fixture.Video() + "'";
  EXPECT_EQ(RunProgram("inspect " + video + " --at 35890540").status, 0);
  EXPECT_THAT(RunProgram("inspect " + video).out, ::testing::HasSubstr("startMs 35890540"));
  EXPECT_EQ(RunProgram("inspect '" + fixture.folder.File("other.avi") + "'").status, 1);
  EXPECT_EQ(RunProgram("inspect").status, 2);
  EXPECT_EQ(RunProgram("--help").status, 0);
}

}  // namespace
}  // namespace ostrel
