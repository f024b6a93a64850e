// The hex dump commands in the window: the selected file's bytes, the digit lines under
// the pane's lines, the blue label, and nothing without a file; a long dump shown as it
// is made, the window usable meanwhile, and its Cancel.
#include "controllers/dump/dump_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "dialogs/progress_dialog.h"
#include "support/sjis.h"

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

TEST(DumpController, ALongDumpShowsItsLinesAsTheyComeAndStopsAtCancel) {
  test::FakeWindow w;
  DumpController dump(w);
  w.dir.Write("f/big.bin", std::string(8u << 20, '\x41'));
  w.Select(w.dir / "f", "big.bin");
  w.InfoLine().setText("big.bin   info");
  std::size_t seen_while_running = 0, at_cancel = 0;
  bool modal = true;
  // The worker waits after its first piece until the click: however fast the machine,
  // Cancel comes while the dump runs.
  std::atomic<bool> clicked{false};
  DumpController::piece_made = [&] {
    for (int i = 0; i < 5000 && !clicked; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* progress = qobject_cast<dialogs::TForm24*>(top);
      if (!progress || !progress->isVisible() || at_cancel) continue;
      seen_while_running = w.Pane().Bytes().size();
      if (seen_while_running == 0) return;  // no lines yet: look again
      modal = QApplication::activeModalWidget() != nullptr;
      at_cancel = seen_while_running;
      const QPoint at = progress->BitBtn1->mapTo(progress, progress->BitBtn1->rect().center());
      QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {}, at);
      clicked = true;
    }
  });
  look.start(20);
  w.Actions().Trigger("Mdump1");
  look.stop();
  DumpController::piece_made = nullptr;
  ASSERT_GT(at_cancel, 0u) << "the dump ended before any lines were shown";
  EXPECT_FALSE(modal);  // the main window stays usable
  const std::string text = w.Pane().Bytes();
  // What was made stays, ends with the partial line and the mark, and is far from whole.
  EXPECT_TRUE(text.starts_with("big.bin   info\r\n\r\n00000000 : 00 01 02"));
  EXPECT_TRUE(text.ends_with(" : \r\n" + test::S("中断しました！") + "\r\n")) << text.substr(text.size() - 80);
  EXPECT_LT(text.size(), (8u << 20) / 16 * 61);
  EXPECT_NE(w.InfoLine().palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(w.Flags().worktext, "");
  // Nothing goes on after the dump returned.
  QCoreApplication::processEvents();
  EXPECT_EQ(w.Pane().Bytes(), text);
}

}  // namespace
}  // namespace haruvi::controllers
