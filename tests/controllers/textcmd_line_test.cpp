// The line commands through their handlers on a window-less context: scope with and
// without a selection, the label's colour and simple-edit mode, the empty pane, refused
// and cancelled answers leaving the bytes as they were, one undo step, binary bytes, and
// the selected file's line ends.
#include <gtest/gtest.h>

#include <QAction>

#include "textcmd_fixture.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

struct Row {
  const char* action;
  std::string in, out;
  bool edit;  // enters simple-edit mode
};

// One fresh window per row: simple-edit mode and the label start as a shown file has them.
TEST(TextCmdLines, EachCommandRewritesEveryLineAndMarksTheText) {
  const Row rows[] = {
      {"MLineSortU1", "c\r\nB\r\na\r\n", "a\r\nB\r\nc\r\n", false},
      {"MLineSortD1", "a\r\nc\r\nb\r\n", "c\r\nb\r\na\r\n", false},
      {"MlinenoaddLeft1", "x\r\ny\r\n", "1 x\r\n2 y\r\n", true},
      {"MlinenoaddLeftc1", "x\r\ny\r\n", "1,x\r\n2,y\r\n", true},
      {"MlinenoaddRight1", "x\r\ny\r\n", "x 1\r\ny 2\r\n", true},
      {"MlinenoaddRightc1", "x\r\ny\r\n", "x,1\r\ny,2\r\n", true},
      {"Mreverse1", Sj("あいu\r\n"), Sj("uいあ\r\n"), false},
      {"MtrimL1", Sj(" 　 x\r\n"), " x\r\n", true},
      {"MtrimR1", Sj("x 　 \r\nx\t\r\n"), "x\r\nx\t\r\n", true},
      {"Mall1bytetrim1", "a b \r\n c\r\n", "ab\r\nc\r\n", true},
      {"Mall2bytetrim1", Sj("あ　い\r\n"), Sj("あい\r\n"), true},
      {"Malltabdelete1", "\ta\tb\r\n", "ab\r\n", false},
      {"Mtoptabdelete1", "\t\ta\tb\r\n", "a\tb\r\n", false},
      {"Mtabtospace1", "a\tb\r\n", "a b\r\n", false},
      {"Mtabtocomma1", "a\tb\r\n", "a,b\r\n", false},
      {"Mtabtounderscore1", "a\tb\r\n", "a_b\r\n", false},
      {"M2byteto1bytenull1", Sj("　x\r\n"), "  x\r\n", false},
      {"Mcrdel", "a\r\nb\r\n", "ab", true},
      {"Mtrim1", "a\r\n\r\n \r\nb\r\n", "a\r\n \r\nb\r\n", true},
      {"Msameline1", "a\r\na\r\nb\r\na\r\n", "a\r\nb\r\na\r\n", true},
      {"Mhanktozen1", "Ab1 (a)\r\n", Sj("Ａｂ１　（ａ）\r\n"), false},
      {"Mzentohank1", Sj("ガぱＺ漢\r\n"), Sj("ｶﾞﾊﾟZ漢\r\n"), false},
      {"Mhkanatozkana1", Sj("ｱｲｳｶﾞ\r\n"), Sj("アイウカ゛\r\n"), false},
  };
  for (const Row& r : rows) {
    test::FakeWindow w;
    TextCmdController cmd{w};
    w.Pane().SetText(r.in);
    w.Pane().SetWordWrap(true);
    // A selection changes nothing about the scope ("改行コードを削除" keeps to it: its own test).
    if (std::string_view(r.action) != "Mcrdel") w.Pane().SetSelection(0, 1);
    w.Actions().Trigger(QString::fromUtf8(r.action));
    EXPECT_EQ(w.Pane().Bytes(), r.out) << r.action;
    EXPECT_EQ(w.InfoLine().palette().color(QPalette::WindowText), kRed) << r.action;
    EXPECT_EQ(!w.Pane().ReadOnly(), r.edit) << r.action;
    EXPECT_EQ(w.TextStatus().Text(2) == " 編集 ", r.edit) << r.action;
    EXPECT_TRUE(w.Pane().WordWrap()) << r.action << ": word wrap is back";
  }
}

TEST_F(TextCmdTest, AnEmptyPaneStaysEmptyAndNothingIsAsked) {
  for (const QString& name : w.Actions().Names()) {
    // The undo item, the pop-up copies and the selected file's commands are not pane commands.
    if (name == "Mundo" || name.endsWith('P') || name.startsWith("MCR") || name.startsWith("MLF") ||
        name == "Mcrauto1")
      continue;
    Show("");
    w.Pane().SetReadOnly(true);
    Run(name.toUtf8().constData());
    EXPECT_TRUE(w.Pane().IsEmpty()) << name.toStdString();
    // Only entering simple-edit mode colours the label.
    EXPECT_EQ(InfoColor(), Editing() ? kRed : QColor(Qt::black)) << name.toStdString();
  }
  EXPECT_TRUE(dialogs->asked.empty());
  EXPECT_TRUE(dialogs->columns_asked.empty());
  EXPECT_TRUE(dialogs->refusals.empty());
  // "全て－1バイト" enters simple-edit mode only for a text.
  w.Pane().SetReadOnly(true);
  Run("Mall1bytetrim1");
  EXPECT_FALSE(Editing());
  Run("MtrimR1");
  EXPECT_TRUE(Editing());
}

TEST_F(TextCmdTest, SerialNumbersGoOnTheLinesTheSelectionTouches) {
  Show("a\r\nb\r\nc\r\nd\r\n");
  w.Pane().SetSelection(4, 3);  // from inside "b" to inside "c"
  Answer({"No.00", "9"});
  Run("Mrenban1");
  EXPECT_EQ(Text(), "a\r\nNo.09 b\r\nNo.10 c\r\nd\r\n");
  ASSERT_EQ(dialogs->asked.size(), 2u);
  EXPECT_EQ(dialogs->asked[0].caption, "連番の書式入力");
  EXPECT_EQ(dialogs->asked[0].prompt, "書式:(文字)+数字 例) X0000");
  EXPECT_EQ(dialogs->asked[1].caption, "連番の初期数値");
  EXPECT_EQ(dialogs->asked[1].prompt, "初期数値 例) 1");
  EXPECT_FALSE(Editing());

  Show("a\r\nb\r\n");
  Answer({"", " -1 "});
  Run("Mrenban1");
  EXPECT_EQ(Text(), "-1 a\r\n0 b\r\n");
}

TEST_F(TextCmdTest, AnswersThatAreNoNumberAreRefusedWithOneWordingAndChangeNothing) {
  const std::string text = "x\r\n\x82\r\n\xFF\r\n";  // a lone lead byte and 0xFF too
  const char* bad[] = {"abc", "", "１２", "99999999999", "1.5", "0x10"};
  for (const char* answer : bad) {
    Show(text);
    Answer({"No.", answer});
    Run("Mrenban1");
    EXPECT_EQ(Text(), text) << answer;
    EXPECT_EQ(InfoColor(), QColor(Qt::black)) << answer;
    ASSERT_FALSE(dialogs->refusals.empty());
    EXPECT_EQ(dialogs->refusals.back(), QStringLiteral("'%1' は有効な整数値ではありません。").arg(QString::fromUtf8(answer)));
  }
  // The same key's count, with simple-edit mode entered all the same.
  Show(text);
  Answer({"abc"});
  Run("Mopacdelete");
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(dialogs->refusals.back(), "'abc' は有効な整数値ではありません。");
  EXPECT_TRUE(Editing());
}

TEST_F(TextCmdTest, CancelChangesNothing) {
  const std::string text = "b\r\na\r\n";
  Show(text);
  Answer({std::nullopt});
  Run("Mrenban1");
  Answer({"X", std::nullopt});
  Run("Mrenban1");
  Answer({std::nullopt});
  Run("Mopacdelete");
  EXPECT_EQ(Text(), text);
  EXPECT_TRUE(dialogs->refusals.empty());
  EXPECT_TRUE(Editing());  // "同じ項目削除" enters it before asking
}

TEST_F(TextCmdTest, TheSameKeyAsksWithTheCaretColumn) {
  Show("abc1\r\nabc2\r\nabd3\r\n");
  w.Pane().SetSelection(9, 0);  // line 2, after "abc"
  Answer({"4"});
  Run("Mopacdelete");
  ASSERT_EQ(dialogs->asked.size(), 1u);
  EXPECT_EQ(dialogs->asked[0].caption, "同じ項目削除");
  EXPECT_EQ(dialogs->asked[0].prompt, "項目：行頭からの桁数(半角での桁数)");
  EXPECT_EQ(dialogs->asked[0].initial, "4");
  EXPECT_EQ(Text(), "abc1\r\nabd3\r\n");
}

TEST_F(TextCmdTest, TheCaretsLineIsCopiedOrDeleted) {
  Show("a\r\nb\r\nc\r\n");
  w.Pane().SetSelection(3, 0);
  Run("Mupperlinecopy1");
  EXPECT_EQ(Text(), "a\r\nb\r\nb\r\nc\r\n");
  w.Pane().SetSelection(0, 0);
  Run("Monelinedelete1");
  EXPECT_EQ(Text(), "b\r\nb\r\nc\r\n");
  EXPECT_FALSE(Editing());
}

TEST_F(TextCmdTest, LineEndsGoInsideTheSelectionOnly) {
  Show("a\r\nb\r\nc\r\nd\r\n");
  w.Pane().SetSelection(3, 4);  // "b" CR LF "c"
  Run("Mcrdel");
  EXPECT_EQ(Text(), "a\r\nbc\r\nd\r\n");
  EXPECT_TRUE(Editing());
}

TEST_F(TextCmdTest, NumbersArePaddedToTheLineCountsWidth) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "l\r\n";
  Show(text);
  Run("MlinenoaddRightc1");
  EXPECT_EQ(w.Pane().Line(0), "l, 1");
  EXPECT_EQ(w.Pane().Line(9), "l,10");
}

TEST_F(TextCmdTest, BinaryBytesKeepEveryByteAfterANul) {
  using namespace std::string_literals;
  const std::string text = "z\0y\r\n\x82\r\n\xFF a\r\n"s;
  Show(text);
  Run("Mall1bytetrim1");
  EXPECT_EQ(Text(), "z\0y\r\n\x82\r\n\xFF" "a\r\n"s);
  Show(text);
  Run("MLineSortU1");
  EXPECT_EQ(w.Pane().LineCount(), 3u);
  EXPECT_EQ(Text().size(), text.size());
  Show(text);
  Run("Mreverse1");
  EXPECT_EQ(Text(), "y\0z\r\n\x82\r\na \xFF\r\n"s);
}

TEST_F(TextCmdTest, OneUndoRestoresTheTextBeforeTheCommand) {
  const std::string text = "b\ra\nc";  // lone CR and LF, no final line end: given back as they were
  Show(text);
  EXPECT_FALSE(w.Actions().Get("Mundo")->isEnabled());
  Run("MLineSortU1");
  EXPECT_EQ(Text(), "a\rb\rc\r");  // the text's line end (its first, CR) kept
  EXPECT_TRUE(w.Actions().Get("Mundo")->isEnabled());
  EXPECT_TRUE(w.Actions().Get("MundoP")->isEnabled());
  SetInfoColor(Qt::black);
  Run("Mundo");
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(InfoColor(), kRed);
  EXPECT_FALSE(w.Actions().Get("Mundo")->isEnabled());  // one level

  // In simple-edit mode too, and only the last command.
  Run("MlinenoaddLeft1");
  const std::string numbered = Text();
  Run("Mreverse1");
  Run("Mundo");
  EXPECT_EQ(Text(), numbered);
  EXPECT_TRUE(Editing());
  // While editing, a command is a step of the text's own undo, after the typing.
  w.Pane().MoveCaretTo(0);
  w.Pane().Type(QStringLiteral("t"));
  Run("Mreverse1");
  Run("Mundo");
  EXPECT_EQ(Text(), "t" + numbered);
  Run("Mundo");
  EXPECT_EQ(Text(), numbered);

  // A big text keeps one step back instead, not every command's whole result.
  const std::size_t limit = ui::ShownText::edit_step_limit;
  ui::ShownText::edit_step_limit = 1000;
  std::string big;
  for (int i = 0; i < 17; ++i) big += std::string(100, static_cast<char>('a' + i % 26)) + "z\r\n";
  w.Pane().SetText(big);
  Run("Mreverse1");
  const std::string once = Text();
  ASSERT_NE(once, big);
  Run("Mreverse1");
  ASSERT_EQ(Text(), big);
  Run("Mundo");
  EXPECT_EQ(Text(), once);
  ui::ShownText::edit_step_limit = limit;
  EXPECT_FALSE(w.Actions().Get("Mundo")->isEnabled());

  // A text shown since is never replaced by an older one.
  Run("Mreverse1");
  w.Pane().SetText(std::string("new file"));
  EXPECT_FALSE(w.Text().CanUndo());
  Run("Mundo");
  EXPECT_EQ(Text(), "new file");
}

TEST_F(TextCmdTest, TheSelectedFilesLineEndsAreConvertedInThePane) {
  w.dir.Write("f/cr.txt", "a\rb\r");
  w.dir.Write("f/crlf.txt", "a\r\nb\r\n");
  Show("shown");
  Run("MCRtoCRLF1");  // nothing selected: nothing happens
  EXPECT_EQ(Text(), "shown");
  w.Select(w.dir / "f", "cr.txt");
  Run("MCRtoCRLF1");
  EXPECT_EQ(Text(), "a\r\nb\r\n");
  EXPECT_EQ(InfoColor(), QColor(Qt::blue));
  Run("MCRtoLF1");
  EXPECT_EQ(Text(), "a\nb\n");
  Run("Mcrauto1");
  EXPECT_EQ(Text(), "a\r\nb\r\n");
  w.Select(w.dir / "f", "crlf.txt");
  Run("MCRLFtoLF1");
  EXPECT_EQ(Text(), "a\nb\n");
  EXPECT_FALSE(Editing());
  Run("Mundo");  // the pane's text before the conversion
  EXPECT_EQ(Text(), "a\r\nb\r\n");
}

TEST_F(TextCmdTest, OneLineEndRuleInViewingAndInSimpleEdit) {
  // A command keeps the text's line end; a line-end command sets it, in both modes alike.
  w.dir.Write("f/lf.txt", "b\na\n");
  w.Select(w.dir / "f", "lf.txt");
  ui::ShownText::ask_leave = [] { return ui::ShownText::LeaveAnswer::Discard; };
  for (const bool editing : {false, true}) {
    SCOPED_TRACE(editing ? "simple edit" : "viewing");
    Show("b\na\n");
    if (editing) w.Text().SetEditing(!Editing());
    Run("MLineSortU1");
    EXPECT_EQ(Text(), "a\nb\n");
    Run("MLFtoCRLF1");  // the file's bytes, converted (the sort let go without a question)
    EXPECT_EQ(Text(), "b\r\na\r\n");
    Run("MLineSortU1");
    EXPECT_EQ(Text(), "a\r\nb\r\n");
    EXPECT_EQ(Editing(), editing);
    if (editing) w.Text().SetEditing(!Editing());
  }
  ui::ShownText::ask_leave = nullptr;
}

}  // namespace
}  // namespace haruvi::controllers

namespace haruvi::controllers {
namespace {

TEST_F(TextCmdTest, AUtf8TextIsSortedAndConvertedWithEveryCharacterKeptAndStaysUtf8) {
  // 😀 and 한 have no CP932 code; é is a combining pair; ＡＢ is full width.
  const std::string text = "\xE3\x81\x84 \xED\x95\x9C\r\n\xE3\x81\x82 \xF0\x9F\x98\x80 e\xCC\x81\r\n\xEF\xBC\xA1\xEF\xBC\xA2\r\n";
  w.Pane().SetText(text, encoding::TextForm::Utf8);
  Run("MLineSortU1");  // in Shift_JIS order, as a Shift_JIS file sorts: Ａ (8260) before あ (82A0)
  const std::string sorted = "\xEF\xBC\xA1\xEF\xBC\xA2\r\n\xE3\x81\x82 \xF0\x9F\x98\x80 e\xCC\x81\r\n\xE3\x81\x84 \xED\x95\x9C\r\n";
  EXPECT_EQ(Text(), sorted);
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Utf8);
  Run("Mzentohank1");
  EXPECT_EQ(Text(), "AB\r\n\xEF\xBD\xB1 \xF0\x9F\x98\x80 e\xCC\x81\r\n\xEF\xBD\xB2 \xED\x95\x9C\r\n");
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Utf8);
  Run("Mundo");
  EXPECT_EQ(Text(), sorted);
}

TEST_F(TextCmdTest, AUtf8CaretColumnCountsFullWidthCharactersAsTwo) {
  // "日😀" before the caret: two full-width characters, four columns.
  w.Pane().SetText("\xE6\x97\xA5\xF0\x9F\x98\x80x1\r\n\xE6\x97\xA5\xF0\x9F\x98\x80x2\r\n", encoding::TextForm::Utf8);
  w.Pane().SetSelection(7, 0);
  Answer({std::nullopt});
  Run("Mopacdelete");
  ASSERT_EQ(dialogs->asked.size(), 1u);
  EXPECT_EQ(dialogs->asked[0].initial, "5");
}

}  // namespace
}  // namespace haruvi::controllers
