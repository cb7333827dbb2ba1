#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

#include "tests/cli/inspect_fixture.h"

namespace ostrel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class InspectTest : public ::testing::Test, public testing::InspectFixture {
 protected:
  QJsonObject RunJson(QStringList arguments, int expectedStatus) {
    arguments.append("--json");
    EXPECT_EQ(RunCommand(arguments), expectedStatus) << err.str();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.str();
    return document.object();
  }
};

TEST_F(InspectTest, ReportsWhatAnOpenWouldReadAsText) {
  ASSERT_EQ(RunCommand({"inspect", QString::fromStdString(Video()), "--at", "35890560", "--at", "-5"}), 0)
      << err.str();
  EXPECT_EQ(err.str(), "");
  const std::string text = out.str();
  EXPECT_THAT(text, HasSubstr(LogPath() + "  present"));
  EXPECT_THAT(text, HasSubstr("the video's line is line 2"));
  EXPECT_THAT(text, HasSubstr("startMs 35890540, adjustMs -1500"));
  EXPECT_THAT(text, HasSubstr("4 records, 4 points"));
  EXPECT_THAT(text, HasSubstr("frames 0 to 5, 2 without a record"));
  EXPECT_THAT(text, HasSubstr("clock 35890540 to 35890700 ms"));
  EXPECT_THAT(text, HasSubstr("does not grow with the frame at 1 place(s)"));
  EXPECT_THAT(text, HasSubstr("frame 2 (35890560 ms) after frame 1 (35890580 ms)"));
  EXPECT_THAT(text, HasSubstr("kind 1: 1 trajectories, 1 samples"));
  EXPECT_THAT(text, HasSubstr("skipped: 1 sample line(s) outside the point file's frames"));
  // The clock stepping back makes the search weigh slots 0 and 1 and take the later.
  EXPECT_THAT(text, HasSubstr("35890560 ms: frame 1 (slot 1) at 35890580 ms, 1 points, 1 trajectory samples"));
  EXPECT_THAT(text, HasSubstr("-5 ms: no frame"));
}

TEST_F(InspectTest, GivesTheSameFactsAsJson) {
  const QJsonObject report = RunJson({"inspect", QString::fromStdString(Video()), "--at", "35890700"}, 0);
  EXPECT_TRUE(report["everythingRead"].toBool());
  EXPECT_EQ(report["timeLog"]["startMs"].toInt(), 35890540);
  EXPECT_EQ(report["timeLog"]["adjustMs"].toInt(), -1500);
  EXPECT_EQ(report["pointFile"]["records"].toInt(), 4);
  EXPECT_EQ(report["pointFile"]["framesWithoutRecord"].toInt(), 2);
  EXPECT_EQ(report["pointFile"]["clockSteps"][0]["frame"].toInt(), 2);
  EXPECT_EQ(report["trajectoryFile"]["kinds"][1]["samples"].toInt(), 1);
  EXPECT_EQ(report["trajectoryFile"]["samplesOutOfRange"].toInt(), 1);
  const QJsonObject frame = report["frames"][0].toObject();
  EXPECT_EQ(frame["frame"].toInt(), 5);
  EXPECT_EQ(frame["points"].toInt(), 1);
  EXPECT_TRUE(report["messages"].toArray().isEmpty());
}

TEST_F(InspectTest, AMissingLogIsReportedAndTheRestStillRead) {
  std::filesystem::remove(LogPath());
  const QJsonObject report = RunJson({"inspect", QString::fromStdString(Video())}, 1);
  EXPECT_EQ(err.str(), LogPath() + ": Failed in open LOG file.\n");
  EXPECT_FALSE(report["timeLog"]["read"].toBool());
  EXPECT_FALSE(report["companions"][2]["exists"].toBool());
  EXPECT_EQ(report["pointFile"]["records"].toInt(), 4);
  EXPECT_EQ(report["messages"][0]["caption"].toString().toStdString(), LogPath());
}

TEST_F(InspectTest, ALogWithoutTheVideosLineLeavesStartMsAsBefore) {
  testing::WriteTimeLog(LogPath(), {testing::CorrectionLine{'+', {0, 0, 2, 0}},
                                    testing::VideoLine{"cam07_013", {10, 0, 0, 0}}});
  ASSERT_EQ(RunCommand({"inspect", QString::fromStdString(Video())}), 0);
  EXPECT_THAT(out.str(), HasSubstr("no line for this video"));
  EXPECT_THAT(out.str(), HasSubstr("startMs 0, adjustMs 2000"));
}

TEST_F(InspectTest, AMissingPointFileLeavesTheTrajectoriesUnread) {
  std::filesystem::remove(folder.File("cam07_012.lpa"));
  ASSERT_EQ(RunCommand({"inspect", QString::fromStdString(Video())}), 1);
  EXPECT_EQ(err.str(), folder.File("cam07_012.lpa") + ": File open failed.\n");
  EXPECT_THAT(out.str(), HasSubstr("not read: its frames are those of the point file"));
}

TEST_F(InspectTest, RefusesCommandLinesItDoesNotUnderstand) {
  const QStringList cases[] = {
      {},
      {"inspect"},
      {"inspect", "a.avi", "b.avi"},
      {"inspect", "a.avi", "--at", "soon"},
      {"inspect", "a.avi", "--at", "99999999999"},
      {"inspect", "a.avi", "--frobnicate"},
      {"render", "a.avi"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    EXPECT_EQ(RunCommand(arguments), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_THAT(err.str(), Not(::testing::IsEmpty()));
  }
}

TEST_F(InspectTest, HelpExplainsEveryOption) {
  ASSERT_EQ(RunCommand({"inspect", "--help"}), 0);
  for (const char* option : {"--at <MS>", "--json", "VIDEO", "Exit status"}) {
    EXPECT_THAT(out.str(), HasSubstr(option));
  }
  ASSERT_EQ(RunCommand({"--help"}), 0);
  EXPECT_THAT(out.str(), HasSubstr("inspect VIDEO"));
}

}  // namespace
}  // namespace ostrel
