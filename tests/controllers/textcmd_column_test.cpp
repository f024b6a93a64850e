// The column, CSV, HTML and TeX commands through their handlers: the column dialog's
// defaults and answers, the insert prompts, the CSV separators and group size with their
// refusals, HTML stripping with its progress window and Cancel, and TeX stripping. Also
// the two dialogs themselves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include "controllers/textcmd/column_dialog.h"
#include "dialogs/progress_dialog.h"
#include "encoding/line_scan.h"
#include "support/sjis.h"
#include "textcmd/answers.h"
#include "textcmd_fixture.h"
#include "ui/input_box.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using Columns = TextCmdDialogs::Columns;

TEST_F(TextCmdTest, ColumnsAreAskedFromTheCaretAndTheSelectionLength) {
  Show("0123456789ABCDEF\r\nabc\r\n");
  w.Pane().SetSelection(4, 6);  // column 5, six bytes
  dialogs->columns.push_back(Columns{5, 6});
  Run("Mcolumncopy1");
  ASSERT_EQ(dialogs->columns_asked.size(), 1u);
  EXPECT_EQ(dialogs->columns_asked[0].caption, "桁抽出");
  EXPECT_EQ(dialogs->columns_asked[0].start, 5);
  EXPECT_EQ(dialogs->columns_asked[0].count, 6);
  EXPECT_TRUE(dialogs->columns_asked[0].with_count);
  EXPECT_EQ(Text(), "456789\r\n\r\n");  // a line too short gives an empty line
  EXPECT_EQ(InfoColor(), kRed);
  EXPECT_FALSE(Editing());

  Show("0123456789\r\nshort\r\n");
  dialogs->columns.push_back(Columns{3, 2});
  Run("Mcolumndelete1");
  EXPECT_EQ(dialogs->columns_asked.back().caption, "桁削除");
  EXPECT_EQ(Text(), "01456789\r\nsht\r\n");

  // Beyond every line: nothing deleted.
  Show("abc\r\n");
  dialogs->columns.push_back(Columns{65353, 65353});
  Run("Mcolumndelete1");
  EXPECT_EQ(Text(), "abc\r\n");

  // Cancel leaves the text as it was, label and all.
  Show("abc\r\n");
  dialogs->columns.push_back(std::nullopt);
  Run("Mcolumncopy1");
  EXPECT_EQ(Text(), "abc\r\n");
  EXPECT_EQ(InfoColor(), QColor(Qt::black));
}

TEST_F(TextCmdTest, ColumnsNeverCutATwoByteCharacter) {
  Show(Sj("aあい\r\n"));
  dialogs->columns.push_back(Columns{2, 1});
  Run("MinsertCR1");
  EXPECT_EQ(Text(), Sj("a\r\nあ\r\nい\r\n"));
  Show(Sj("あいう\r\n"));
  dialogs->columns.push_back(Columns{2, 3});
  Run("Mcolumncopy1");
  EXPECT_EQ(Text(), Sj("い\r\n"));  // narrowed to whole characters
}

TEST_F(TextCmdTest, InsertCommandsAskForTheTextThenTheColumnOnly) {
  Show("abcdef\r\nab\r\n");
  w.Pane().SetSelection(2, 0);
  Answer({"X"});
  dialogs->columns.push_back(Columns{3, 1});
  Run("MinsertChar1");
  EXPECT_EQ(Text(), "abXcdef\r\nab\r\n");
  ASSERT_EQ(dialogs->asked.size(), 1u);
  EXPECT_EQ(dialogs->asked[0].caption, "指定桁位置に文字を挿入");
  EXPECT_EQ(dialogs->asked[0].prompt, "挿入する文字を入力して下さい");
  EXPECT_EQ(dialogs->columns_asked[0].caption, "指定桁位置に文字を挿入");
  EXPECT_EQ(dialogs->columns_asked[0].start, 3);
  EXPECT_FALSE(dialogs->columns_asked[0].with_count);

  Show("abcdefgh\r\n");
  Answer({"|"});
  dialogs->columns.push_back(Columns{4, 1});
  Run("MinsertChr1");
  EXPECT_EQ(Text(), "abcd|\r\nefgh\r\n");
  EXPECT_EQ(dialogs->asked.back().caption, "指定桁位置に文字＋改行を挿入");

  Show("abcdefgh\r\nabcd\r\n");
  dialogs->columns.push_back(Columns{4, 1});
  Run("MinsertCR1");
  EXPECT_EQ(dialogs->columns_asked.back().caption, "指定位置で改行");
  EXPECT_EQ(Text(), "abcd\r\nefgh\r\nabcd\r\n");

  // Cancel at the text: no column dialog, no change.
  Show("abc\r\n");
  const size_t asked = dialogs->columns_asked.size();
  Answer({std::nullopt});
  Run("MinsertChar1");
  EXPECT_EQ(dialogs->columns_asked.size(), asked);
  EXPECT_EQ(Text(), "abc\r\n");
}

TEST_F(TextCmdTest, CsvItemsJoinGroupsOfLines) {
  struct Row {
    const char* action;
    std::vector<std::optional<QString>> answers;
    std::string out;
  };
  const Row rows[] = {
      {"MlineCSVa", {"2"}, "\"a\",\"b\"\r\n\"c\"\r\n"},
      {"MlineCSVb", {"3"}, "'a','b','c'\r\n"},
      {"MlineCSVc", {"3"}, "a,b,c\r\n"},
      {"MlineCSVd", {"3"}, "a\tb\tc\r\n"},
      {"MlineCSVf", {"3"}, "a b c\r\n"},
      {"MlineCSVe", {"3"}, "abc\r\n"},
      {"MlineCSVh", {"09", "3"}, "a\tb\tc\r\n"},
      {"MlineCSVh", {" 2c ", "3"}, "a,b,c\r\n"},
      {"MlineCSVg", {"::", "2"}, "a::b\r\nc\r\n"},
      {"MlineCSVaP", {"1"}, "\"a\"\r\n\"b\"\r\n\"c\"\r\n"},  // the pop-up copy
  };
  for (const Row& r : rows) {
    Show("a\r\nb\r\nc\r\n");
    for (const auto& a : r.answers) dialogs->texts.push_back(a);
    Run(r.action);
    EXPECT_EQ(Text(), r.out) << r.action;
    EXPECT_EQ(dialogs->asked.back().caption, "行->CSVデータ変換");
    EXPECT_EQ(dialogs->asked.back().prompt, "１レコードの行数");
  }
  EXPECT_TRUE(dialogs->refusals.empty());
  EXPECT_FALSE(Editing());
}

TEST_F(TextCmdTest, CsvRefusalsLeaveTheTextAsItWas) {
  const std::string text = "a\r\nb\r\n";
  struct Row {
    const char* action;
    std::vector<std::optional<QString>> answers;
    QString refusal;
  };
  const Row rows[] = {
      {"MlineCSVc", {"abc"}, "'abc' は有効な整数値ではありません。"},
      {"MlineCSVc", {"0"}, QString::fromUtf8(textcmd::kGroupSizeRefused.data())},
      {"MlineCSVc", {"-2"}, QString::fromUtf8(textcmd::kGroupSizeRefused.data())},
      {"MlineCSVh", {"zz"}, "'zz' は有効な整数値ではありません。"},  // asked before the group size
      {"MlineCSVh", {"100", "1"}, QString::fromUtf8(textcmd::kHexSeparatorRefused.data())},
      {"MlineCSVh", {"00", "1"}, QString::fromUtf8(textcmd::kHexSeparatorRefused.data())},
  };
  for (const Row& r : rows) {
    Show(text);
    for (const auto& a : r.answers) dialogs->texts.push_back(a);
    Run(r.action);
    EXPECT_EQ(Text(), text) << r.action;
    EXPECT_EQ(InfoColor(), QColor(Qt::black)) << r.action;
    ASSERT_FALSE(dialogs->refusals.empty());
    EXPECT_EQ(dialogs->refusals.back(), r.refusal) << r.action;
    EXPECT_TRUE(dialogs->texts.empty()) << r.action;
  }
}

TEST_F(TextCmdTest, HtmlIsStrippedWithTheProgressWindow) {
  Show("<P>Hello<BR>World</P>\r\n");
  Run("Mhtml");
  EXPECT_EQ(Text(), "\r\n\r\nHello\r\nWorld\r\n");
  EXPECT_EQ(InfoColor(), kRed);
  EXPECT_FALSE(Editing());
  EXPECT_TRUE(w.Flags().worktext.isEmpty());

  Show("<p>\t  x<br><br>y\r\n");
  Run("Mhtmlall");
  EXPECT_EQ(Text(), "x\r\ny\r\n");
  EXPECT_TRUE(Editing());  // through the empty-line step
  Show("<p>\t  x<br><br>y\r\n");
  Run("html2");
  EXPECT_EQ(Text(), "  x\r\ny\r\n");
  Show("<p>\t  x<br><br>y\r\n");
  Run("ToolButton51");
  EXPECT_EQ(Text(), "\r\n\r\n\t  x\r\n\r\ny\r\n");
}

TEST_F(TextCmdTest, CancelledHtmlStrippingShowsWhatItMadeWithTheMark) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "<p>line &amp; more</p>\r\n";
  Show(text);
  QString caption, what;
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* progress = qobject_cast<dialogs::TForm24*>(top);
      if (!progress || !progress->isVisible()) continue;
      caption = progress->windowTitle();
      what = progress->Ldump2->text();
      // Through the window system, as a click reaches it.
      const QPoint at = progress->BitBtn1->mapTo(progress, progress->BitBtn1->rect().center());
      QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {}, at);
    }
  });
  press.start(20);
  Run("Mhtml");
  press.stop();
  EXPECT_EQ(caption, "html->テキスト");
  EXPECT_EQ(what, "htmlをテキストに変換中．．．");
  // What was output stays, entities not decoded, and the mark ends it.
  const std::string now = Text();
  EXPECT_TRUE(now.ends_with(test::S("中断しました！") + "\r\n")) << now.substr(0, 200);
  EXPECT_LT(now.size(), text.size());
  const std::string kept = now.substr(0, now.size() - test::S("中断しました！").size() - 2);
  for (std::string_view line : encoding::SplitLines(kept)) EXPECT_EQ(line.find("line & more"), std::string_view::npos);
  EXPECT_EQ(InfoColor(), QColor(Qt::red));
  EXPECT_TRUE(w.Flags().worktext.isEmpty());
  // The step back brings the HTML again.
  w.Text().Undo();
  EXPECT_EQ(Text(), text);
}

TEST_F(TextCmdTest, TexCommandsAreRemoved) {
  Show("\\section{Intro} text % note\r\n");
  Run("Mtextotxt1");
  EXPECT_EQ(Text(), "{Intro} text \r\n");
  EXPECT_TRUE(Editing());
  Show("\\vspace{1cm}x\r\n");
  Run("Mtextotxt2");  // "TeXタグ削除" in "削除(&K)"
  EXPECT_EQ(Text(), "x\r\n");
}

TEST(TextCmdDialogsTest, TheInputBoxHoldsTheDefaultSelectedAndAtMost255Characters) {
  ui::InputBoxDialog box(QStringLiteral("c"), QStringLiteral("p"), QString(300, QLatin1Char('x')));
  EXPECT_EQ(box.windowTitle(), "c");
  EXPECT_EQ(box.Prompt->text(), "p");
  EXPECT_EQ(box.Edit->maxLength(), 255);
  EXPECT_EQ(box.Edit->text().size(), 255);
  EXPECT_TRUE(box.Edit->hasSelectedText());
}

TEST(TextCmdDialogsTest, TheColumnDialogKeepsItsValuesInRange) {
  TForm30 dialog;
  EXPECT_EQ(dialog.windowTitle(), "桁削除");
  EXPECT_EQ(dialog.Label1->text(), "何桁目から(1-9999)");
  EXPECT_EQ(dialog.Label2->text(), "何文字分(1-9999)");
  EXPECT_EQ(dialog.SpinEdit1->value(), 1);
  EXPECT_EQ(dialog.SpinEdit1->maximum(), 65353);
  dialog.SetValues(1000000, 0);
  EXPECT_EQ(dialog.SpinEdit1->value(), 65353);
  EXPECT_EQ(dialog.SpinEdit2->value(), 1);
  dialog.HideCount();
  EXPECT_TRUE(dialog.SpinEdit2->isHidden());
  EXPECT_TRUE(dialog.Label2->isHidden());
  EXPECT_FALSE(dialog.SpinEdit1->isHidden());
}

}  // namespace
}  // namespace haruvi::controllers
