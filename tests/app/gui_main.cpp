// Test main for window tests: one QApplication on the offscreen platform for all tests.
#include <QApplication>
#include <QIcon>

#include <gtest/gtest.h>

#include "bridge/japanese.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  haruvi::bridge::UseJapanese();  // as the program does: Qt's dialogs and file kinds in Japanese
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
