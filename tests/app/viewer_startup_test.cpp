#include "app/viewer_startup.h"

#include <gtest/gtest.h>

#include <QTest>

#include "app/control_bar.h"
#include "app/main_window.h"
#include "tests/support/recording_messages.h"
#include "video/media_graph.h"
#include "video/media_services.h"

namespace ostrel {
namespace {

using testing::RecordingMessages;

TEST(ViewerStartupTest, FailingMediaServicesEndTheStartWithTheirMessage) {
  RecordingMessages messages;
  int graphsAsked = 0;
  const MediaServices services{[] { return false; }, [&graphsAsked] {
                                 ++graphsAsked;
                                 return std::unique_ptr<MediaGraph>();
                               }};
  EXPECT_EQ(StartViewer(services, messages), nullptr);
  EXPECT_EQ(graphsAsked, 0);
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{
                                {"COMの初期化に失敗しました", "アプリケーションエラー", MessageOwner::None}}));
}

TEST(ViewerStartupTest, MissingFirstGraphEndsTheStartWithItsMessage) {
  RecordingMessages messages;
  const MediaServices services{[] { return true; }, [] { return std::unique_ptr<MediaGraph>(); }};
  EXPECT_EQ(StartViewer(services, messages), nullptr);
  EXPECT_EQ(messages.shown,
            (std::vector<UserMessage>{{"FilterGraphオブジェクトの取得に失敗しました",
                                       "アプリケーションエラー", MessageOwner::None}}));
}

TEST(ViewerStartupTest, WorkingServicesShowTheWindowHoldingTheFirstGraph) {
  RecordingMessages messages;
  MediaGraph* made = nullptr;
  const MediaServices services{InitializeMediaServices, [&made] {
                                 std::unique_ptr<MediaGraph> graph = CreateMediaGraph();
                                 made = graph.get();
                                 return graph;
                               }};
  std::unique_ptr<MainWindow> window = StartViewer(services, messages);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(window->state().graph.get(), made);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_TRUE(window->controlBar().isVisible());
  EXPECT_FALSE(window->controlBar().isEnabled());
  window->close();
  EXPECT_EQ(window->state().graph.get(), made) << "the first graph outlives the window's release";
}

}  // namespace
}  // namespace ostrel
