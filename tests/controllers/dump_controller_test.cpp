// The hex dump commands in the window: the selected file's bytes, the digit lines under
// the pane's lines, the blue label, and nothing without a file.
#include "controllers/dump/dump_controller.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "fake_window.h"

namespace haruvi::controllers {
namespace {

TEST(DumpController, DumpsTheFileAndTheLinesIntoThePane) {
  test::FakeWindow w;
  DumpController dump(w);
  w.dir.Write("f/m.bin", std::string("MZ") + std::string(15, '\x01'));
  w.Select(w.dir / "f", "m.bin");
  w.InfoLine().setText("m.bin   info");
  w.Actions().Trigger("Mdump1");
  const std::string text = w.Pane().Bytes();
  EXPECT_TRUE(text.starts_with("m.bin   info\r\n\r\n00000000 : 00 01 02"));
  EXPECT_TRUE(text.ends_with("00000001 : 4D 5A 01 01 01 01 01 01 01 01 01 01 01 01 01 01 \r\n00000002 : 01 \r\n"));
  EXPECT_EQ(w.InfoLine().palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(w.Flags().worktext, "");

  w.Pane().SetText(std::string("AB"));
  w.Actions().Trigger("Mdump1bP");  // the pop-up copy runs the same command
  EXPECT_EQ(w.Pane().Bytes(), "m.bin   info\r\n\r\nAB\r\n44\r\n12\r\n");
}

TEST(DumpController, NothingHappensWithoutAFile) {
  test::FakeWindow w;
  DumpController dump(w);
  w.Pane().SetText(std::string("kept"));
  w.Actions().Trigger("Mdump1");
  EXPECT_EQ(w.Pane().Bytes(), "kept");
}

}  // namespace
}  // namespace haruvi::controllers
