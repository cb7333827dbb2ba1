// The video suite needs Qt's event loop (the graph hands frames and events over as queued
// calls) and a GUI application for the widget tests; without a display they draw offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "video/media_services.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (!ostrel::InitializeMediaServices()) return EXIT_FAILURE;
  return RUN_ALL_TESTS();
}
