#include "overlay/frame_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "overlay/annotated_snapshot.h"
#include "overlay/snapshot_counter.h"
#include "tests/overlay/capture_fixture.h"
#include "tests/overlay/overlay_fixture.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace ostrel {
namespace {

using testing::FileContent;
using testing::WriteContent;

const VideoRect kScreen{0, 0, 800, 600};

// A working folder with its counter and messages, and a scene with one point to draw.
class CaptureTest : public ::testing::Test {
 protected:
  SnapshotTarget Target() { return {folder.path(), counter, messages}; }
  std::filesystem::path File(const std::string& name) const { return folder.path() / name; }

  bool Capture(const testing::GrabbedFrame& frame) {
    SnapshotTarget target = Target();
    return CaptureFrame(frame.header, frame.pixels, {store, kScreen}, pens, target);
  }
  bool Snapshot() {
    SnapshotTarget target = Target();
    return WriteAnnotatedSnapshot({store, kScreen}, pens, target);
  }
  // The message texts shown so far, each expected to name `path`.
  void ExpectOneMessageNaming(const std::filesystem::path& path) {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(path.string()), std::string::npos)
        << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].caption, "Error");
  }
  std::vector<std::string> FolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder folder;
  SnapshotCounter counter;
  testing::RecordingMessages messages;
  OverlayPens pens = MakeOverlayPens();
  TrackStore store = testing::StoreBuilder(1).Points(0, {{0.5, 0.5}}).Build(0);
};

TEST_F(CaptureTest, OneBmpHoldsTheHeadersAndTheBufferAsGiven) {
  auto frame = testing::MakeGrabbedFrame(5, 3);  // 16 bytes a row, 48 in all
  frame.header.biSizeImage = 48;
  frame.header.biXPelsPerMeter = 0x0102;
  ASSERT_TRUE(Capture(frame));
  const auto file = FileContent(File("1.bmp"));
  ASSERT_EQ(file.size(), 54u + 48u);
  const std::vector<std::uint8_t> fileHeader = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 14), fileHeader);
  const std::vector<std::uint8_t> infoHeader = {40, 0, 0, 0, 5, 0, 0,  0, 3, 0, 0, 0, 1, 0,
                                                24, 0, 0, 0, 0, 0, 48, 0, 0, 0, 2, 1, 0, 0,
                                                0,  0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 14, file.begin() + 54), infoHeader);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.end()), frame.pixels);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CaptureTest, TheSnapshotKeepsTheFileHeaderAndRecomputesTheImageSize) {
  auto frame = testing::MakeGrabbedFrame(45, 30);
  ASSERT_TRUE(Capture(frame));
  // A "1.bmp" with an odd file size field and bytes beyond the picture, as another program
  // might leave it.
  auto capture = FileContent(File("1.bmp"));
  capture[2] = 0x99;
  capture.insert(capture.end(), {1, 2, 3, 4, 5});
  WriteContent(File("1.bmp"), capture);
  ASSERT_TRUE(Snapshot());
  const auto snapshot = FileContent(File("3.bmp"));  // 2.bmp came with the capture
  ASSERT_EQ(snapshot.size(), 54u + 136u * 30u);
  EXPECT_TRUE(std::equal(capture.begin(), capture.begin() + 14, snapshot.begin()));
  BitmapInfoHeader expected = frame.header;
  expected.biSizeImage = 136 * 30;
  const auto info = EncodeBitmapInfoHeader(expected);
  EXPECT_TRUE(std::equal(info.begin(), info.end(), snapshot.begin() + 14));
  EXPECT_EQ(testing::FileRgb(snapshot, 45, 30, 22, 14), 0xffffffu);  // the point's disc
  EXPECT_EQ(testing::FileRgb(snapshot, 45, 30, 0, 0), testing::BackgroundRgb(0, 0));
  // 2.bmp came from the same frame before 1.bmp was touched: only the first 14 bytes differ.
  const auto second = FileContent(File("2.bmp"));
  EXPECT_TRUE(std::equal(second.begin() + 14, second.end(), snapshot.begin() + 14, snapshot.end()));
}

TEST_F(CaptureTest, SnapshotsAreNumberedFromTwoAndSkipTakenNames) {
  const auto frame = testing::MakeGrabbedFrame(12, 10);
  WriteContent(File("3.bmp"), {'o', 'l', 'd'});
  WriteContent(File("4.bmp"), {'o', 'l', 'd'});
  std::filesystem::create_symlink(folder.path() / "nowhere" / "x.bmp", File("6.bmp"));  // dangling
  for (int capture = 0; capture < 3; ++capture) ASSERT_TRUE(Capture(frame));
  EXPECT_EQ(FolderNames(), (std::vector<std::string>{"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp",
                                                     "6.bmp", "7.bmp"}));
  EXPECT_EQ(FileContent(File("3.bmp")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(FileContent(File("4.bmp")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_TRUE(std::filesystem::is_symlink(File("6.bmp")));
  EXPECT_EQ(FileContent(File("7.bmp")).size(), 54u + 36u * 10u);
  EXPECT_EQ(counter.next, 8);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CaptureTest, AnUnwritableOneBmpIsReportedAndNoSnapshotIsMade) {
  const auto frame = testing::MakeGrabbedFrame(12, 10);
  // A folder that is a file: nothing can be created inside it, not even by root.
  WriteContent(File("plain"), {'x'});
  SnapshotTarget inFile{File("plain"), counter, messages};
  EXPECT_FALSE(CaptureFrame(frame.header, frame.pixels, {store, kScreen}, pens, inFile));
  ExpectOneMessageNaming(File("plain") / "1.bmp");
  EXPECT_EQ(counter.next, 2);
}

TEST_F(CaptureTest, AOneBmpWhoseWritesFailIsReportedAndNotAnnotated) {
  const auto frame = testing::MakeGrabbedFrame(12, 10);
  std::filesystem::create_symlink("/dev/full", File("1.bmp"));  // opens, but no byte fits
  EXPECT_FALSE(Capture(frame));
  ExpectOneMessageNaming(File("1.bmp"));
  EXPECT_FALSE(std::filesystem::exists(File("2.bmp")));
  EXPECT_EQ(counter.next, 2);
}

TEST_F(CaptureTest, ASnapshotThatCannotBeWrittenIsReportedWithItsPath) {
  const std::filesystem::path missing = folder.path() / "gone";
  EXPECT_FALSE(
      WriteNumberedSnapshot(missing, std::vector<std::uint8_t>{1, 2, 3}, counter, messages));
  ExpectOneMessageNaming(missing / "2.bmp");
  EXPECT_EQ(counter.next, 3);  // it got as far as its name
}

struct BadCapture {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool unsupported;  // else incomplete
};

std::vector<std::uint8_t> WithHeader(BitmapInfoHeader header, std::size_t pixelBytes) {
  const std::vector<std::uint8_t> pixels(pixelBytes, 0x55);
  return *EncodeCapturedFrame(header, pixels);
}

BitmapInfoHeader Header(std::int32_t width, std::int32_t height, std::uint16_t bits,
                        std::uint32_t compression = 0) {
  BitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = bits;
  header.biCompression = compression;
  return header;
}

TEST_F(CaptureTest, AShortOrUnsupportedOneBmpIsRefusedWithAMessage) {
  const BadCapture cases[] = {
      {"no frame buffered: headers only", WithHeader(Header(12, 10, 24), 0), false},
      {"one pixel byte short", WithHeader(Header(12, 10, 24), 36 * 10 - 1), false},
      {"shorter than its headers", std::vector<std::uint8_t>(20, 0x42), false},
      {"empty", {}, false},
      {"8 bits with a colour table", WithHeader(Header(12, 10, 8), 1024 + 12 * 10), true},
      {"1 bit", WithHeader(Header(32, 2, 1), 8 + 8), true},
      {"32 bits", WithHeader(Header(12, 10, 32), 480), true},
      {"compressed", WithHeader(Header(12, 10, 24, 1), 400), true},
      {"top-down", WithHeader(Header(12, -10, 24), 400), true},
      {"no width", WithHeader(Header(0, 10, 24), 400), true},
  };
  for (const BadCapture& test : cases) {
    messages.shown.clear();
    WriteContent(File("1.bmp"), test.bytes);
    EXPECT_FALSE(Snapshot()) << test.name;
    ExpectOneMessageNaming(File("1.bmp"));
    const bool saysUnsupported =
        !messages.shown.empty() && messages.shown[0].text.find("24-bit") != std::string::npos;
    EXPECT_EQ(saysUnsupported, test.unsupported) << test.name;
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"1.bmp"}) << test.name;
    EXPECT_EQ(counter.next, 2) << test.name;
  }
}

TEST_F(CaptureTest, AMissingOneBmpIsReported) {
  EXPECT_FALSE(Snapshot());
  ExpectOneMessageNaming(File("1.bmp"));
  EXPECT_TRUE(FolderNames().empty());
}

TEST_F(CaptureTest, TheSnapshotFileHoldsExactlyTheAnnotatedBytes) {
  const auto frame = testing::MakeGrabbedFrame(45, 30);
  ASSERT_TRUE(Capture(frame));
  testing::RecordingMessages quiet;
  const auto direct =
      AnnotateCapturedFrame(FileContent(File("1.bmp")), {store, kScreen}, pens, "1.bmp", quiet);
  ASSERT_TRUE(direct.has_value());
  EXPECT_EQ(FileContent(File("2.bmp")), *direct);
}

}  // namespace
}  // namespace ostrel
