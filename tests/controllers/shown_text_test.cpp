// The shown text's owner: every command that replaces the text can be taken back (the
// filters, both replacements, a grep, even one that leaves nothing), the information
// line's colour and source follow the origin, a big file is whole before a command works
// on it, and the Shift_JIS view follows the text's form.
#include "ui/shown_text.h"

#include <gtest/gtest.h>

#include "encoding/text_form.h"
#include "search_fixture.h"
#include "viewer/file_display.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

QColor Color(test::FakeWindow& w) { return w.InfoLine().palette().color(QPalette::WindowText); }

class UndoEveryCommand : public SearchTest {
 protected:
  void Back() {
    ASSERT_TRUE(win.Text().CanUndo());
    win.Text().Undo();
  }
  const std::string before = "りんご\r\nみかん\r\nりんごジュース\r\n";
};

TEST_F(UndoEveryCommand, PickingLinesThatLeaveNothingIsUndone) {
  Show(before);
  dialogs->texts.push_back(QStringLiteral("ぶどう"));
  controller->Mpickupline1Click();
  EXPECT_EQ(PaneUtf8(), "");  // nothing matched: every line went
  Back();
  EXPECT_EQ(PaneUtf8(), before);
  EXPECT_TRUE(Red());
  EXPECT_FALSE(win.Text().CanUndo());  // one step back, not a history
}

TEST_F(UndoEveryCommand, RegexAndPlainReplacementsAreUndone) {
  Show(before);
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("りんご"), QStringLiteral("林檎"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "林檎\r\nみかん\r\n林檎ジュース\r\n");
  Back();
  EXPECT_EQ(PaneUtf8(), before);

  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("みかん"), QStringLiteral("蜜柑"), false});
  controller->Mreplaceall1Click();
  EXPECT_EQ(PaneUtf8(), "りんご\r\n蜜柑\r\nりんごジュース\r\n");
  Back();
  EXPECT_EQ(PaneUtf8(), before);
}

TEST_F(UndoEveryCommand, AGrepReportIsUndoneToTheTextAndLineBeforeIt) {
  win.dir.Write("g/a.txt", test::S("りんご\r\n"));
  win.MoveToFolder(bridge::FromDisk((win.dir.path() / "g").string()));
  Show(before);
  win.Text().SetInfo(QStringLiteral("a.txt  the line before"));
  dialogs->greps.push_back(GrepAnswer{QStringLiteral("りんご"), false, true, true, false, true});
  controller->MgrepClick();
  controller->WaitGrep();
  EXPECT_TRUE(PaneUtf8().starts_with("Grepの実行"));
  EXPECT_TRUE(win.Text().Info().isEmpty());
  Back();
  EXPECT_EQ(PaneUtf8(), before);
  EXPECT_EQ(win.Text().Info(), QStringLiteral("a.txt  the line before"));
}

TEST(ShownText, TheOriginDecidesTheColourAndWhatTheTextIsOf) {
  test::FakeWindow w;
  ui::ShownText& t = w.Text();
  w.dir.Write("memo.txt", "text\r\n");
  const std::string path = (w.dir.path() / "memo.txt").string();
  viewer::FileDisplay shown = viewer::ShowFile(path, {});
  ASSERT_TRUE(t.ShowFile(shown, path, ui::TextOrigin::File));
  EXPECT_EQ(Color(w), QColor(Qt::black));
  EXPECT_EQ(t.SourcePath(), path);
  EXPECT_FALSE(t.CanUndo());  // a new file has no step back

  t.Replace("TEXT\r\n");
  EXPECT_EQ(Color(w), QColor(255, 0, 0));
  EXPECT_EQ(t.SourcePath(), path);  // still that file's text, changed

  t.Replace("converted\r\n", ui::TextOrigin::Converted);
  EXPECT_EQ(Color(w), QColor(0, 0, 255));

  t.editmodeon();
  EXPECT_EQ(Color(w), QColor(255, 0, 0));
  EXPECT_EQ(w.TextStatus().Text(2), " 編集 ");
  t.SetEditing(false);
  EXPECT_EQ(w.TextStatus().Text(2), " 閲覧 ");

  t.Replace("report\r\n", ui::TextOrigin::Report);
  EXPECT_EQ(Color(w), QColor(0, 0, 255));
  EXPECT_TRUE(t.SourcePath().empty());  // a report is no file's text: saving it must ask
  t.Undo();
  EXPECT_EQ(t.SourcePath(), path);

  t.textclear();
  EXPECT_TRUE(t.Empty());
  EXPECT_TRUE(t.Info().isEmpty());
  EXPECT_EQ(Color(w), QColor(Qt::black));
}

TEST(ShownText, AContentPutPastItDropsTheStepBack) {
  test::FakeWindow w;
  w.Text().Show("one\r\n", ui::TextOrigin::Listing);
  w.Text().Replace("two\r\n");
  ASSERT_TRUE(w.Text().CanUndo());
  w.Pane().SetText(std::string("a new file"));
  EXPECT_FALSE(w.Text().CanUndo());  // never an older text over a newer one
  w.Text().Undo();
  EXPECT_EQ(w.Pane().Bytes(), "a new file");
}

TEST(ShownText, ACommandOnABigFileStillBeingReadWorksOnAllOfIt) {
  test::FakeWindow w;
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\n";
  w.dir.Write("big.txt", text);
  const std::string path = (w.dir.path() / "big.txt").string();
  viewer::DisplaySettings settings;
  settings.preview_bytes = 256;
  viewer::FileDisplay shown = viewer::ShowFile(path, settings);
  ASSERT_TRUE(shown.preview);
  ASSERT_TRUE(w.Text().ShowFile(shown, path, ui::TextOrigin::File));
  EXPECT_FALSE(w.Text().Complete());
  EXPECT_EQ(w.TextStatus().Text(1), " … 行 ");
  // The command's input is read after the rest arrived: its result is of the whole file.
  w.Text().EnsureWhole();
  const std::string whole = w.Pane().Bytes();
  EXPECT_EQ(whole, text);
  w.Text().Replace(whole + "end\r\n");
  EXPECT_EQ(w.TextStatus().Text(1), " 2001 行 ");
  w.Text().Undo();
  EXPECT_EQ(w.Pane().Bytes(), text);  // the whole file came back, byte for byte
}

TEST(ShownText, ItsShiftJisViewFollowsTheTextsForm) {
  test::FakeWindow w;
  w.Text().Show("\xF0\xA0\xAE\xB7\r\n", ui::TextOrigin::Listing, encoding::TextForm::Utf8);  // 𠮷
  encoding::SjisView utf8 = w.Text().Sjis(w.Pane().BytesView());
  ASSERT_TRUE(utf8.Converted());
  EXPECT_EQ(utf8.Text().size(), 4u);  // one two-byte stand-in and CR LF
  encoding::SjisView moved = std::move(utf8);  // kept by a command while it runs
  EXPECT_EQ(moved.ToPane(moved.Text()), "\xF0\xA0\xAE\xB7\r\n");
  w.Text().Show("\x93\xfa\r\n", ui::TextOrigin::Listing);
  EXPECT_FALSE(w.Text().Sjis(w.Pane().BytesView()).Converted());
}

}  // namespace
}  // namespace haruvi::controllers
