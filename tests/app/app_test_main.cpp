// The shell's widgets need one QApplication for the whole run. The suite's environment
// sets QT_QPA_PLATFORM=offscreen, so no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build does to register them) needs no application.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
