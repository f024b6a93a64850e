// Find in text and the replace commands through the controller: the dialog's history and
// section, F3 and Shift+F3 stepping from hit to hit, not-found messages, the replace
// dialog's replace-all count and termination, regex replace templates and pattern errors,
// and "一括置換".
#include <QAction>
#include <QLabel>

#include "search_fixture.h"
#include "ui/action_registry.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST_F(SearchTest, FindOpensTheDialogThenF3AndShiftF3StepFromHitToHit) {
  Show("漢字 cat\r\nCat dog\r\ncats cat");
  dialogs->finds.push_back(FindAnswer{QStringLiteral("cat"), true, false, 1});
  win.Actions().Trigger(QStringLiteral("Mserch"));
  EXPECT_EQ(win.Pane().SelStart(), 5u);
  EXPECT_EQ(Selected(), "cat");
  win.Actions().Trigger(QStringLiteral("MserchNext"));  // F3: whole word, any case
  EXPECT_EQ(win.Pane().SelStart(), 10u);
  win.Actions().Trigger(QStringLiteral("MserchNext"));  // not "cats"
  EXPECT_EQ(win.Pane().SelStart(), 24u);
  CaptureStderr();
  win.Actions().Trigger(QStringLiteral("MserchNext"));
  EXPECT_NE(GetCapturedStderr().find("cat 見つかりませんでした"), std::string::npos);
  EXPECT_EQ(win.Pane().SelStart(), 24u);  // the selection stays
  win.Actions().Trigger(QStringLiteral("Mserchnextup1"));  // Shift+F3
  EXPECT_EQ(win.Pane().SelStart(), 10u);
  // The pop-up "下へ検索(&N)" goes on in the direction last used: up.
  win.Actions().Trigger(QStringLiteral("Mserchnext2"));
  EXPECT_EQ(win.Pane().SelStart(), 5u);
  // The settings the dialog confirmed.
  EXPECT_EQ(Ini().ReadString("FindDialogEx", "Text", ""), "cat");
  EXPECT_TRUE(Ini().ReadBool("FindDialogEx", "Check1", false));
  EXPECT_EQ(Ini().ReadInteger("FindDialogEx", "UpDown", 0), 1);
  EXPECT_EQ(Ini().ReadString("FindDialogEx", "Items_0", ""), "#cat#");
}

TEST_F(SearchTest, FindHistorySwapsAKnownTextWithTheFirstAndTheSelectionPresetsIt) {
  Show("one two three");
  for (const char* t : {"three", "two", "one"}) dialogs->finds.push_back(FindAnswer{QString::fromUtf8(t), false, true, 1});
  for (int i = 0; i < 3; ++i) {
    win.Pane().SetSelection(0, 0);
    controller->MserchClick();
  }
  // one, two, three: "three" is third; confirming it swaps it with "one".
  win.Pane().SetSelection(8, 5);
  dialogs->finds.push_back(FindAnswer{QStringLiteral("three"), false, true, 1});
  win.Pane().SetSelection(8, 5);
  controller->MserchClick();
  EXPECT_EQ(dialogs->find_setups.back().preset.text, QStringLiteral("three"));  // the selection wins
  EXPECT_EQ(Ini().ReadString("FindDialogEx", "Items_0", ""), "#three#");
  EXPECT_EQ(Ini().ReadString("FindDialogEx", "Items_1", ""), "#two#");
  EXPECT_EQ(Ini().ReadString("FindDialogEx", "Items_2", ""), "#one#");
  EXPECT_EQ(Ini().ReadInteger("FindDialogEx", "Count", 0), 3);
  // An empty text confirmed reopens the dialog; Cancel then ends it.
  dialogs->finds.push_back(FindAnswer{QString(), false, false, 1});
  dialogs->finds.push_back(std::nullopt);
  controller->MserchClick();
  EXPECT_TRUE(dialogs->finds.empty());
  // An empty pane opens nothing.
  win.Pane().Clear();
  controller->MserchClick();
}

TEST_F(SearchTest, ReplaceAllCountsEndsAndReportsNotFound) {
  Show("aaaa");
  controller->Replace() = {"a", "b", true, false};
  CaptureStderr();
  controller->ReplaceDialog1Replace(true);
  EXPECT_NE(GetCapturedStderr().find("4 個置換！"), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "bbbb");
  EXPECT_TRUE(Red());

  Show("a-a-a");
  controller->Replace() = {"a", "aa", true, false};
  controller->ReplaceDialog1Replace(true);  // ends: each search goes on after the insertion
  EXPECT_EQ(PaneUtf8(), "aa-aa-aa");

  // Replace one: the next hit after the inserted text is selected.
  Show("a-a");
  controller->Replace() = {"a", "aa", true, false};
  controller->ReplaceDialog1Find();
  controller->ReplaceDialog1Replace(false);
  EXPECT_EQ(PaneUtf8(), "aa-a");
  EXPECT_EQ(win.Pane().SelStart(), 3u);
  // In simple edit the same, and undo takes the replacement back alone.
  Show("a-a");
  win.Pane().SetReadOnly(false);
  win.Pane().MoveCaretTo(3);
  win.Pane().Type(QStringLiteral("!"));
  controller->ReplaceDialog1Find();
  controller->ReplaceDialog1Replace(false);
  EXPECT_EQ(PaneUtf8(), "aa-a!");
  win.Pane().Undo();
  EXPECT_EQ(PaneUtf8(), "a-a!");
  win.Pane().SetReadOnly(true);

  // The dialog's find goes on from the selection and wraps once to the top.
  Show("cat Cat");
  win.Pane().SetSelection(4, 3);
  controller->Replace() = {"cat", "dog", false, false};
  controller->ReplaceDialog1Find();
  EXPECT_EQ(win.Pane().SelStart(), 0u);
  controller->Replace().match_case = true;
  controller->ReplaceDialog1Find();
  EXPECT_EQ(win.Pane().SelStart(), 0u);

  Show("xyz");
  controller->Replace() = {"q", "r", true, false};
  CaptureStderr();
  controller->ReplaceDialog1Replace(false);
  EXPECT_NE(GetCapturedStderr().find("見つかりませんでした！"), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "xyz");
}

TEST_F(SearchTest, RegexReplaceTemplatesLineHeadsAndErrors) {
  Show("one\r\ntwo 12\r\nC:\\temp 3");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("^"), QStringLiteral("> "), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "> one\r\n> two 12\r\n> C:\\temp 3");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("[0-9]+"), QStringLiteral("<&>"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "> one\r\n> two <12>\r\n> C:\\temp <3>");  // the backslash stays
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("two"), QStringLiteral("\\&"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "> one\r\n> & <12>\r\n> C:\\temp <3>");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("e$"), QStringLiteral("E"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "> onE\r\n> & <12>\r\n> C:\\temp <3>");
  // The histories of both combo boxes, newest first.
  EXPECT_EQ(Ini().ReadString("GrepR", "Items_0", ""), "#e$#");
  EXPECT_EQ(Ini().ReadInteger("GrepR", "DriveCount", 0), 4);
  EXPECT_EQ(Ini().ReadString("GrepR", "Items2_0", ""), "#E#");
  EXPECT_EQ(dialogs->pattern_setups.back().patterns.front(), QStringLiteral("two"));

  // Pattern errors and patterns at the engine's limits: the message, the pane as it was
  // (nested 400 deep is a valid pattern here: it finds no "a", and says so).
  const std::string before = PaneUtf8();
  for (const QString& bad : {QStringLiteral("[a-"), QStringLiteral("(ab"), QString(100000, QLatin1Char('(')),
                             QStringLiteral("(").repeated(400) + QStringLiteral("a") + QStringLiteral(")").repeated(400)}) {
    dialogs->patterns.push_back(PatternAnswer{bad, QStringLiteral("x"), false});
    CaptureStderr();
    controller->MreplaceGrep1Click();
    const std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("haruvi: "), std::string::npos) << bad.left(10).toStdString();
    EXPECT_EQ(PaneUtf8(), before);
  }
}

TEST_F(SearchTest, TheFuzzyBoxWidensRegexReplace) {
  Show("abc ABC ａｂｃ");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("abc"), QStringLiteral("x"), true});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "x x x");
  Show("abc ABC ａｂｃ");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("abc"), QStringLiteral("x"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(PaneUtf8(), "x ABC ａｂｃ");
}

TEST_F(SearchTest, ReplaceEverythingIsLiteralAndMultibyteAware) {
  Show("アA a.b");
  win.Pane().SetSelection(0, 0);
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("A"), QStringLiteral("&"), false});
  controller->Mreplaceall1Click();
  EXPECT_EQ(dialogs->pattern_setups.back().use, PatternUse::PlainReplace);
  EXPECT_EQ(PaneUtf8(), "ア& a.b");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("."), QStringLiteral(""), false});
  controller->Mreplaceall1Click();
  EXPECT_EQ(PaneUtf8(), "ア& ab");
  win.Text().SetOrigin(ui::TextOrigin::File);  // black
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("zz"), QStringLiteral("y"), false});
  controller->Mreplaceall1Click();
  EXPECT_EQ(PaneUtf8(), "ア& ab");
  EXPECT_TRUE(Red());
}

// The find text is kept as typed and put into the code of each text it is run on: the
// same word is found in a Shift_JIS, a UTF-8 and an EUC-JP text one after another, and a
// character the text's code cannot hold finds nothing there (said), never "〓".
TEST_F(SearchTest, TheFindTextIsCharactersPutIntoEachTextsOwnCode) {
  Show("犬と猫\r\n");
  dialogs->finds.push_back(FindAnswer{QStringLiteral("猫"), false, false, 1});
  win.Actions().Trigger(QStringLiteral("Mserch"));
  EXPECT_EQ(win.Pane().SelStart(), 4u);
  win.Pane().SetText(std::string("\xE7\x8C\xAB\xE3\x81\xA8 \xE7\x8C\xAB"), encoding::TextForm::Utf8);  // 猫と 猫
  win.Pane().SetSelection(3, 0);  // after the first 猫
  win.Actions().Trigger(QStringLiteral("MserchNext"));
  EXPECT_EQ(win.Pane().SelStart(), 7u);
  EXPECT_EQ(win.Pane().SelLength(), 3u);
  // In EUC-JP a match starts only where a character does: "\xC7\xAD" (猫) is not found
  // across the two characters "\xA4\xC7\xAD\xA4" would otherwise offer.
  win.Pane().SetText(std::string("\xA4\xC7\xAD\xA4 \xC7\xAD"), encoding::TextForm::EucJp);  // で④ 猫
  win.Pane().SetSelection(0, 0);
  win.Actions().Trigger(QStringLiteral("MserchNext"));
  EXPECT_EQ(win.Pane().SelStart(), 5u);

  Show("〓 の行\r\n");
  dialogs->finds.push_back(FindAnswer{QString::fromUtf8("\xF0\xA0\xAE\xB7"), false, false, 1});  // 𠮷
  win.Pane().SetSelection(0, 0);
  CaptureStderr();
  win.Actions().Trigger(QStringLiteral("Mserch"));
  const std::string said = GetCapturedStderr();
  EXPECT_NE(said.find("\xF0\xA0\xAE\xB7"), std::string::npos) << said;
  EXPECT_NE(said.find("Shift_JIS"), std::string::npos) << said;
  EXPECT_EQ(win.Pane().SelLength(), 0u);  // the line of "〓" is no match
  // The not-found message names the text as typed, whatever code the text has.
  win.Pane().SetText(std::string("abc"), encoding::TextForm::Utf8);
  dialogs->finds.push_back(FindAnswer{QStringLiteral("猫"), false, false, 1});
  CaptureStderr();
  win.Actions().Trigger(QStringLiteral("Mserch"));
  EXPECT_NE(GetCapturedStderr().find("猫 見つかりませんでした"), std::string::npos);
}

TEST_F(SearchTest, AReplacementOrFilterTextTheCodeCannotHoldChangesNothing) {
  Show("abc 〓 abc");
  controller->Replace() = {QStringLiteral("abc"), QString::fromUtf8("\xF0\xA0\xAE\xB7"), true, false};
  CaptureStderr();
  controller->ReplaceDialog1Replace(true);
  EXPECT_NE(GetCapturedStderr().find("置換後の文字列"), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "abc 〓 abc");
  controller->Replace() = {QString::fromUtf8("\xF0\xA0\xAE\xB7"), QStringLiteral("x"), true, false};
  controller->ReplaceDialog1Replace(true);
  EXPECT_EQ(PaneUtf8(), "abc 〓 abc");
  // "検索行抽出" keeps the text: no line can hold the character.
  Show("〓\r\nabc\r\n");
  dialogs->texts.push_back(QString::fromUtf8("\xF0\xA0\xAE\xB7"));
  win.Actions().Trigger(QStringLiteral("Mpickupline1"));
  EXPECT_EQ(PaneUtf8(), "〓\r\nabc\r\n");
}

}  // namespace
}  // namespace haruvi::controllers
