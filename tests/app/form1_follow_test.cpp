// The shown file changing on disk: the status bar says so and F5 reads it again at the
// same line; with 末尾を追う on, lines written to it show at once with the caret at the
// end; a file cut short is shown to its new end.
#include <QElapsedTimer>
#include <fstream>

#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class FollowTest : public WindowTest {
 protected:
  viewer::TextPane& Pane() const { return *form->RichEdit1; }
  static std::string Lines(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i) s += "line " + std::to_string(i) + "\n";
    return s;
  }
  void Append(const std::string& more) { std::ofstream(file, std::ios::app | std::ios::binary) << more; }
  // Lets the window see the watch, up to two seconds, until `done` holds.
  template <class Done>
  bool WaitFor(Done done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000) QTest::qWait(20);
    return done();
  }
  std::filesystem::path file;
};

TEST_F(FollowTest, AChangeIsSaidAndReadAgainWhereTheViewWas) {
  file = dir.Write("logs/app.log", Lines(1, 300));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "logs")));
  SelectHere("app.log");
  form->Text().ShowLineAtTop(120);
  Append(Lines(301, 310));
  ASSERT_TRUE(WaitFor([&] { return form->StatusBar1->Text(4).startsWith(QStringLiteral("ファイルが変更されました: app.log")); }))
      << form->StatusBar1->Text(4).toStdString();
  EXPECT_EQ(Pane().LineCount(), 300u);  // nothing read until asked
  Run("Mreread");
  EXPECT_EQ(Pane().LineCount(), 310u);
  EXPECT_EQ(Pane().FirstVisibleLine(), 119u);
  EXPECT_EQ(form->StatusBar1->Text(4), QString());
}

TEST_F(FollowTest, FollowingShowsNewLinesAtTheEndAndACutFileToItsEnd) {
  file = dir.Write("logs/app.log", Lines(1, 50));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "logs")));
  SelectHere("app.log");
  Run("Mfollow");
  for (int round = 0; round < 3; ++round) {
    const int last = 60 + 10 * round;
    Append(Lines(last - 9, last));
    ASSERT_TRUE(WaitFor([&] { return Pane().LineCount() == static_cast<std::size_t>(last); })) << Pane().LineCount();
    EXPECT_EQ(Pane().LineOfOffset(Pane().Caret()), static_cast<std::size_t>(last - 1));
  }
  { std::ofstream(file, std::ios::trunc | std::ios::binary) << Lines(1, 5); }
  ASSERT_TRUE(WaitFor([&] { return Pane().LineCount() == 5u; })) << Pane().LineCount();
  EXPECT_EQ(Pane().LineOfOffset(Pane().Caret()), 4u);
}

}  // namespace
}  // namespace haruvi::app
