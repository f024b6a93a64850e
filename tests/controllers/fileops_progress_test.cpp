// The file commands' questions and Cancel as a user meets them, with the progress window
// up: the keys and clicks go through the window system (QWindow events), which drops
// those aimed at a window another modal window shuts out, as a desktop does.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>

#include "controllers/fileops/fileops_controller.h"
#include "controllers/fileops/op_runner.h"
#include "controllers/layout/layout_controller.h"
#include "controllers/options/options_controller.h"
#include "fake_window.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

// A click on a button through its window, as the pointer gives it.
void ClickThroughWindow(QAbstractButton* button) {
  QWidget* top = button->window();
  const QPoint at = button->mapTo(top, button->rect().center());
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, at);
}

QMessageBox* OpenQuestion() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) return box;
  return nullptr;
}

OpProgress* ShownProgress() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* p = qobject_cast<OpProgress*>(top); p && p->isVisible()) return p;
  return nullptr;
}

class FileOpsProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.initset();
    layout.initset();
    w.Actions().SetChecked(QStringLiteral("Mdialogdisp1"), false);  // no "copied" box after each
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) w.dir.Write(std::string("f/") + f, std::string(f, 1) + "new");
    ::setenv("XDG_DATA_HOME", (w.dir / "data").c_str(), 1);
    w.Select(w.dir / "f", "a.txt");
    OpRunner::show_after_ms = 0;  // the progress window is up before the first question
    answer_.setInterval(20);
    QObject::connect(&answer_, &QTimer::timeout, [this] {
      QMessageBox* box = OpenQuestion();
      // Marked, not remembered by address: the next box may take the same place.
      if (!box || box->property("answered").toBool()) return;
      box->setProperty("answered", true);
      asked.push_back(box->windowTitle());
      progress_up.push_back(ShownProgress() != nullptr);
      if (answers.empty()) {
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);  // a report: closed, and kept in `asked`
        return;
      }
      auto next = std::move(answers.front());
      answers.erase(answers.begin());
      next(box);
    });
    answer_.start();
  }
  void TearDown() override {
    answer_.stop();
    OpRunner::show_after_ms = 400;
    FileOpsController::prompts = {};
    ::unsetenv("XDG_DATA_HOME");
  }
  void SelectAll() {
    w.Files().CurrentView()->selectAll();
  }
  void CopyTo(const char* rel) {
    FileOpsController::prompts.target = [this, rel](auto, auto&) {
      return std::optional<QString>(QString::fromStdString((w.dir / rel).string()));
    };
    w.Actions().Trigger("Mfilecopy");
  }
  static QAbstractButton* ButtonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
      if (b->text() == text) return b;
    return nullptr;
  }

  test::FakeWindow w;
  OptionsController options{w};
  LayoutController layout{w};
  FileOpsController ops{w};
  std::vector<std::function<void(QMessageBox*)>> answers;
  std::vector<QString> asked;
  std::vector<bool> progress_up;

 private:
  QTimer answer_;
};

TEST_F(FileOpsProgressTest, EveryQuestionIsAnsweredByKeysAndClicksWhileTheProgressIsUp) {
  SelectAll();
  // The missing folder: Enter takes the default, OK.
  answers.push_back([](QMessageBox* box) { QTest::keyClick(box->windowHandle(), Qt::Key_Return); });
  CopyTo("t/deeper");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("確認")));
  EXPECT_TRUE(progress_up[0]);
  EXPECT_EQ(ReadFile(w.dir / "t/deeper/c.txt"), "cnew");

  // Three clashes, one per answer: replace by a click, skip by Enter (the default), and
  // keep both by the button's letter.
  for (const char* f : {"a.txt", "b.txt", "c.txt"}) w.dir.Write(std::string("t/deeper/") + f, "old");
  answers.push_back([](QMessageBox* box) { ClickThroughWindow(ButtonNamed(box, QStringLiteral("置き換える(&R)"))); });
  answers.push_back([](QMessageBox* box) { QTest::keyClick(box->windowHandle(), Qt::Key_Return); });
  answers.push_back([](QMessageBox* box) { QTest::keyClick(box->windowHandle(), Qt::Key_N, Qt::AltModifier); });
  CopyTo("t/deeper");
  ASSERT_EQ(asked.size(), 4u);
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(asked[i], QStringLiteral("同じ名前の項目"));
    EXPECT_TRUE(progress_up[i]) << i;
  }
  EXPECT_EQ(ReadFile(w.dir / "t/deeper/a.txt"), "anew");
  EXPECT_EQ(ReadFile(w.dir / "t/deeper/b.txt"), "old");
  EXPECT_EQ(ReadFile(w.dir / "t/deeper/c.txt"), "old");
  int kept_beside = 0;
  for (const auto& e : fs::directory_iterator(w.dir / "t/deeper"))
    if (e.path().filename().string().starts_with("c") && e.path().filename() != "c.txt" && ReadFile(e.path()) == "cnew")
      ++kept_beside;
  EXPECT_EQ(kept_beside, 1);
}

TEST_F(FileOpsProgressTest, TheProgressNeverComesUpOverAnOpenQuestion) {
  SelectAll();
  OpRunner::show_after_ms = 100;
  bool up_while_asked = false;
  answers.push_back([&](QMessageBox* box) {
    // The question stays open past the moment the progress window would come up.
    QElapsedTimer open;
    open.start();
    while (open.elapsed() < 400) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      if (ShownProgress()) up_while_asked = true;
    }
    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    if (box->isVisible()) box->done(QMessageBox::Cancel);  // the key did not reach it: fail, not hang
  });
  CopyTo("t2/deeper");
  EXPECT_FALSE(up_while_asked);
  EXPECT_EQ(ReadFile(w.dir / "t2/deeper/a.txt"), "anew");
}

TEST_F(FileOpsProgressTest, TheProgressCountsTheFilesAndCancelStopsTheCopy) {
  constexpr int kFiles = 3000;
  for (int i = 0; i < kFiles; ++i) w.dir.Write("f/many/n" + std::to_string(i), "x");
  w.Select(w.dir / "f/many", "n0");
  SelectAll();
  QString counted;
  std::size_t at_cancel = 0;
  // Files written below the target, under whatever name the copy gives them meanwhile.
  const auto copied = [this] {
    std::size_t n = 0;
    for (const auto& e : fs::recursive_directory_iterator(w.dir / "t"))
      if (e.is_regular_file()) ++n;
    return n;
  };
  // A name already there halfway through: its question comes while the copy runs, and
  // Cancel is clicked then, the question answered after.
  w.dir.Write("t/n2000", "old");
  OpRunner::ask_conflict = [&](const fileops::Conflict&) {
    OpProgress* p = ShownProgress();
    if (p) {
      counted = p->Text->text();
      at_cancel = copied();
      ClickThroughWindow(p->CancelButton);
    }
    return fileops::ConflictAnswer{fileops::ConflictChoice::Skip, false};
  };
  CopyTo("t");
  OpRunner::ask_conflict = nullptr;
  ASSERT_GT(at_cancel, 0u) << "the copy ended before Cancel";
  // The counts are the real ones, never "0 / 0".
  EXPECT_TRUE(counted.contains(QStringLiteral(" / %1 ファイル").arg(kFiles))) << counted.toStdString();
  // It stopped at once: a few files at most after the click, far from all of them, and
  // no half-written file left behind.
  EXPECT_LE(copied(), at_cancel + 2) << at_cancel;
  EXPECT_FALSE(asked.empty());  // the copy is reported as not done
  EXPECT_LT(copied(), std::size_t{kFiles});
  for (const auto& e : fs::recursive_directory_iterator(w.dir / "t"))
    EXPECT_FALSE(e.path().filename().string().starts_with(".haruvi-")) << e.path();
}

}  // namespace
}  // namespace haruvi::controllers
