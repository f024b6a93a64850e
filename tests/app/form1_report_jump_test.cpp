// From a grep report to its places: Enter on a numbered line opens the file at that line
// for a UTF-8 name, a CP932 name and a Shift_JIS text alike; a plain line under a header
// finds its line by its text; "結果に戻る" brings the report back where it was.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "app/startup.h"
#include "controllers/search/search_forms.h"
#include "support/sjis.h"
#include "ui/shown_text.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class ReportJump : public WindowTest {
 protected:
  viewer::TextPane& Pane() const { return *form->RichEdit1; }
  // Lines "line N" for N in 1..count, "猫 N" at `hit` instead, in UTF-8 or Shift_JIS.
  static std::string Lines(int count, int hit, bool utf8) {
    std::string text;
    for (int n = 1; n <= count; ++n) {
      const std::string line = (n == hit ? std::string("猫 ") : std::string("line ")) + std::to_string(n);
      text += (utf8 ? line : test::S(line.c_str())) + "\r\n";
    }
    return text;
  }
  void Grep(bool headers, bool numbers) {
    AnswerNext<controllers::TForm9>([headers, numbers](controllers::TForm9* grep) {
      grep->CBRegExp->setEditText(QStringLiteral("猫"));
      grep->All->setChecked(true);
      grep->CheckBox1->setChecked(headers);
      grep->CheckBox2->setChecked(numbers);
      grep->CheckBox3->setChecked(false);
    });
    Run("Mgrep");
    WaitWhileEnabled("Mgrep2");
  }
  // Enter on the report line that holds `mark`.
  void EnterOn(const std::string& mark) {
    const std::string report = Pane().Text();
    const std::size_t at = report.find(mark);
    ASSERT_NE(at, std::string::npos) << mark << "\n" << report;
    Pane().MoveCaretTo(at);
    QTest::keyClick(Pane().View(), Qt::Key_Return);
    QApplication::processEvents();
  }
  std::size_t CaretLine() const { return Pane().LineOfOffset(Pane().Caret()); }
};

TEST_F(ReportJump, EnterOnANumberedLineOpensItsFileAtItsLineAndBackReturns) {
  const auto utf8 = dir.Write("g/メモ.txt", Lines(40, 25, true));
  const auto sjis = dir.Write("g/" + test::S("表示ソ.txt"), Lines(40, 17, false));  // a CP932 name
  dir.Write("g/none.txt", "nothing\r\n");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "g")));
  Grep(/*headers=*/false, /*numbers=*/true);
  const std::string report = Pane().Text();
  const struct {
    std::filesystem::path file;
    int line;
  } hits[] = {{utf8, 25}, {sjis, 17}};
  for (const auto& hit : hits) {
    EnterOn("(" + std::to_string(hit.line) + ") :");
    EXPECT_EQ(form->Text().SourcePath(), hit.file.string());
    EXPECT_EQ(Pane().FirstVisibleLine(), static_cast<std::size_t>(hit.line - 1));
    EXPECT_EQ(CaretLine(), static_cast<std::size_t>(hit.line - 1));
    ASSERT_TRUE(form->Action(QStringLiteral("Mreportback"))->isEnabled());
    Run("Mreportback");
    EXPECT_EQ(Pane().Text(), report);
    EXPECT_FALSE(form->Action(QStringLiteral("Mreportback"))->isEnabled());
  }
  // The report's head names no file: Enter stays on the report.
  Pane().MoveCaretTo(0);
  QTest::keyClick(Pane().View(), Qt::Key_Return);
  EXPECT_EQ(Pane().Text(), report);
}

TEST_F(ReportJump, APlainLineUnderAHeaderFindsItsLineByItsText) {
  const auto utf8 = dir.Write("h/u.txt", Lines(30, 22, true));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "h")));
  Grep(/*headers=*/true, /*numbers=*/false);
  EnterOn(test::S("猫 22"));
  EXPECT_EQ(form->Text().SourcePath(), utf8.string());
  EXPECT_EQ(CaretLine(), 21u);
}

TEST(CommandLine, LineTakesANumberFromEitherEndBeforeTheFile) {
  StartOptions o = ParseCommandLine({"--line", "-1", "a.txt"});
  EXPECT_EQ(o.line, -1);
  EXPECT_EQ(o.file_args, QStringList{"a.txt"});
  EXPECT_EQ(ParseCommandLine({"--line=12", "a.txt"}).line, 12);
  EXPECT_EQ(ParseCommandLine({"+7", "a.txt"}).line, 7);
  // A lone "+7" is a file's name; after the file, "--line" is a name too.
  EXPECT_EQ(ParseCommandLine({"+7"}).file_args, QStringList{"+7"});
  EXPECT_EQ(ParseCommandLine({"a", "--line", "3"}).file_args, (QStringList{"a", "--line", "3"}));
  for (const QStringList& bad : {QStringList{"--line"}, QStringList{"--line", "x", "a"}, QStringList{"--line", "0", "a"}})
    EXPECT_FALSE(ParseCommandLine(bad).error.isEmpty()) << bad.join(' ').toStdString();
}

TEST_F(ReportJump, TheStartFileOpensAtTheLineAskedFor) {
  const auto file = dir.Write("s/long.txt", Lines(500, 0, false));
  Open(Q(file));
  form->ShowStartLine(-1);
  EXPECT_EQ(CaretLine(), 499u);
  form->ShowStartLine(100);
  EXPECT_EQ(CaretLine(), 99u);
  EXPECT_EQ(Pane().FirstVisibleLine(), 99u);
  form->ShowStartLine(-500);
  EXPECT_EQ(CaretLine(), 0u);
  form->ShowStartLine(100000);  // past the end: the last line
  EXPECT_EQ(CaretLine(), 499u);
}

}  // namespace
}  // namespace haruvi::app
