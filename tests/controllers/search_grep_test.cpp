// Grep and the line filters through the controller: the grep report with and without its
// two check boxes, the fuzzy box, the subfolder box, a stop in the middle of a tree, a
// bad pattern leaving the pane alone; plain and pattern line filters with their counts,
// and the continuous list's round trip through the settings file.
#include <QAction>
#include <QLabel>

#include "search_fixture.h"
#include "ui/action_registry.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class GrepTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    win.dir.Write("docs/a.txt", test::S("abc line\r\nnothing\r\nABC ａｂｃ\r\n"));
    win.dir.Write("docs/b.txt", "");
    win.dir.Write("docs/sub/c.txt", "deep abc\n");
    folder = (win.dir.path() / "docs").string();
    win.MoveToFolder(bridge::FromDisk(folder));
  }
  GrepAnswer Answer(const char* pattern, bool fuzzy, bool headers, bool numbers, bool sub = false) {
    return GrepAnswer{QString::fromUtf8(pattern), fuzzy, headers, numbers, sub, true};
  }
  std::string Run(GrepAnswer a) {
    dialogs->greps.push_back(a);
    controller->MgrepClick();
    controller->WaitGrep();
    return PaneUtf8();
  }
  std::string folder;
};

TEST_F(GrepTest, ReportWithAndWithoutItsTwoBoxes) {
  const std::string a = folder + "/a.txt", b = folder + "/b.txt";
  EXPECT_EQ(Run(Answer("abc", false, true, true)),
            "Grepの実行　検索正規表現 = abc\r\n\r\n// 検索ファイル [ " + a + " ]\r\n" + a + "(1) :abc line\r\n" +
                "// 検索ファイル [ " + b + " ]\r\n");
  EXPECT_EQ(dialogs->grep_setups.back().all.size(), 2);  // the folder "sub" drops out
  EXPECT_EQ(dialogs->grep_setups.back().selected_count, 0);
  EXPECT_EQ(Run(Answer("abc", false, false, false)), "Grepの実行　検索正規表現 = abc\r\n\r\nabc line\r\n");
  EXPECT_TRUE(Red());
  // The fuzzy box: "abc" finds "ABC" and "ａｂｃ" too.
  EXPECT_EQ(Run(Answer("abc", true, false, true)),
            "Grepの実行　検索正規表現 = abc\r\n\r\n" + a + "(1) :abc line\r\n" + a + "(3) :ABC ａｂｃ\r\n");
  // Patterns that match every line or none.
  EXPECT_EQ(Run(Answer("()", false, false, false)), "Grepの実行　検索正規表現 = ()\r\n\r\n");
  // The history: newest first, at most ten.
  EXPECT_EQ(Ini().ReadString("Grep", "Items_0", ""), "#()#");
  EXPECT_EQ(Ini().ReadString("Grep", "Items_1", ""), "#abc#");
  EXPECT_EQ(Ini().ReadInteger("Grep", "DriveCount", 0), 2);
}

TEST_F(GrepTest, AfterAUtf8TextTheReportIsUtf8AndAJapanesePatternStillFindsEveryCode) {
  win.dir.Write("docs/u.txt", "\xE6\x97\xA5\xE6\x9C\xAC utf8 \xF0\x9F\x98\x80\n");
  win.dir.Write("docs/s.txt", test::S("日本 sjis\r\n"));
  win.MoveToFolder(bridge::FromDisk(folder));  // the list shows them
  win.Pane().SetText(std::string("\xE6\x97\xA5"), encoding::TextForm::Utf8);  // a UTF-8 file shown
  dialogs->greps.push_back(Answer("日本", false, false, false));
  controller->MgrepClick();
  controller->WaitGrep();
  EXPECT_EQ(win.Pane().TextForm(), encoding::TextForm::Utf8);
  EXPECT_EQ(win.Pane().Text(),
            "Grepの実行　検索正規表現 = 日本\r\n\r\n日本 sjis\r\n\xE6\x97\xA5\xE6\x9C\xAC utf8 \xF0\x9F\x98\x80\r\n");
  // After a Shift_JIS text, Shift_JIS, with what it cannot hold as its substitute.
  win.Pane().SetText(std::string("x"));
  EXPECT_EQ(Run(Answer("日本", false, false, false)),
            "Grepの実行　検索正規表現 = 日本\r\n\r\n日本 sjis\r\n日本 utf8 〓\r\n");
}

TEST_F(GrepTest, SubfoldersSearchTheWholeTreeAndAreRemembered) {
  const std::string out = Run(Answer("deep", false, false, true, true));
  EXPECT_EQ(out, "Grepの実行　検索正規表現 = deep\r\n\r\n" + folder + "/sub/c.txt(1) :deep abc\r\n");
  EXPECT_TRUE(Ini().ReadBool("Grep", "SubFolder", false));
  dialogs->greps.push_back(std::nullopt);
  controller->MgrepClick();
  EXPECT_TRUE(dialogs->grep_setups.back().subfolders);
}

TEST_F(GrepTest, ABadPatternLeavesThePaneAsItWas) {
  Show("keep me");
  CaptureStderr();
  Run(Answer("[z-a]", false, true, true));
  EXPECT_NE(GetCapturedStderr().find("haruvi: "), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "keep me");
  EXPECT_FALSE(controller->GrepRunning());
}

TEST_F(GrepTest, AStopEndsTheGrepSoonWithTheLinesFoundSoFar) {
  for (int i = 0; i < 300; ++i) win.dir.Write("docs/t/f" + std::to_string(i) + ".txt", std::string(200000, 'a') + "\nabc\n");
  dialogs->greps.push_back(Answer("abc", false, false, false, true));
  controller->MgrepClick();
  ASSERT_TRUE(controller->GrepRunning());
  EXPECT_TRUE(win.Actions().Get(QStringLiteral("Mgrep2"))->isEnabled());
  CaptureStderr();
  const auto asked = std::chrono::steady_clock::now();
  win.Actions().Trigger(QStringLiteral("Mgrep2"));
  controller->WaitGrep();
  const auto took = std::chrono::steady_clock::now() - asked;
  EXPECT_NE(GetCapturedStderr().find("Grepを中止しました。"), std::string::npos);
  EXPECT_LT(took, std::chrono::seconds(2));  // a generous bound for a sanitised build
  const std::string out = PaneUtf8();
  const std::string mark = "[Grepを中止]\r\n";
  ASSERT_GT(out.size(), mark.size());
  EXPECT_EQ(out.substr(out.size() - mark.size()), mark);
  EXPECT_LT(std::count(out.begin(), out.end(), '\n'), 300);
  EXPECT_FALSE(win.Actions().Get(QStringLiteral("Mgrep2"))->isEnabled());
}

TEST_F(SearchTest, PlainLineFiltersCountWhatTheyKeepOrDelete) {
  win.Actions().DeclareSwitch({"Mdialogdisp1", "処理後確認表示(&D)", "", true});
  win.Actions().SetChecked(QStringLiteral("Mdialogdisp1"), true);
  Show("a\r\nb\r\na");
  dialogs->texts.push_back(QStringLiteral("a"));
  CaptureStderr();
  controller->Mdeleteline1Click();
  EXPECT_NE(GetCapturedStderr().find("2　行削除しました！"), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "b\r\n");
  EXPECT_TRUE(Red());
  Show("x1\r\ny\r\nx2");
  win.Pane().SetSelection(0, 1);
  dialogs->texts.push_back(QStringLiteral("x"));
  CaptureStderr();
  controller->Mpickupline1Click();
  EXPECT_NE(GetCapturedStderr().find("2　行抽出しました！"), std::string::npos);
  EXPECT_EQ(dialogs->text_asked.back(), QStringLiteral("検索行抽出|x"));  // the selection presets it
  EXPECT_EQ(PaneUtf8(), "x1\r\nx2\r\n");
  dialogs->texts.push_back(QStringLiteral("q"));
  controller->Mpickupline1Click();
  EXPECT_EQ(PaneUtf8(), "");
  Show("aabb ab");
  dialogs->texts.push_back(QStringLiteral("ab"));
  controller->Mstringreplace1Click();
  EXPECT_EQ(PaneUtf8(), "ab ");
}

TEST_F(SearchTest, PatternLineFiltersTestEachLine) {
  Show("1a\r\n\r\nb2\r\n\r\n3");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("^$"), {}, false});
  controller->MdeletelineR1Click();
  EXPECT_EQ(PaneUtf8(), "1a\r\nb2\r\n3\r\n");
  EXPECT_EQ(dialogs->pattern_setups.back().use, PatternUse::RegexDelete);
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("^[0-9]"), {}, false});
  controller->MpickuplineSEIKI1Click();
  EXPECT_EQ(PaneUtf8(), "1a\r\n3\r\n");
  dialogs->patterns.push_back(PatternAnswer{QString(), {}, false});  // an empty pattern changes nothing
  controller->MpickuplineSEIKI1Click();
  EXPECT_EQ(PaneUtf8(), "1a\r\n3\r\n");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("(("), {}, false});
  CaptureStderr();
  controller->MpickuplineSEIKI1Click();
  EXPECT_NE(GetCapturedStderr().find("haruvi: "), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "1a\r\n3\r\n");
  // The fuzzy box counts in the line filters too.
  Show("abc\r\nＡＢＣ\r\nx");
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("abc"), {}, true});
  controller->MdeletelineR1Click();
  EXPECT_EQ(PaneUtf8(), "x\r\n");
}

TEST_F(SearchTest, TheContinuousListRoundTripsThroughTheSettingsFile) {
  Show("aabb");
  const QStringList entries = {QStringLiteral(" ab "), QStringLiteral("ab"), QStringLiteral("b"), QString()};
  dialogs->lists.push_back(ListAnswer{entries, false});
  controller->Mrenzku1Click();
  EXPECT_EQ(PaneUtf8(), "a");
  EXPECT_FALSE(win.Pane().ReadOnly());  // switched to editing
  EXPECT_EQ(dialogs->list_setups.back().caption, QStringLiteral("検索語句削除　連続"));
  EXPECT_EQ(Ini().ReadInteger("RenzokuDelete", "ListCount", 0), 4);
  EXPECT_EQ(Ini().ReadString("RenzokuDelete", "Items_0", ""), "# ab #");
  // The next opening reads the same list back; the line form deletes by it.
  Show("x ab y\r\nkeep\r\nb");
  dialogs->lists.push_back(ListAnswer{entries, true});
  controller->Mrenzokudeleteline1Click();
  EXPECT_EQ(dialogs->list_setups.back().entries, entries);
  EXPECT_EQ(dialogs->list_setups.back().caption, QStringLiteral("検索行削除 連続"));
  EXPECT_EQ(PaneUtf8(), "");  // as patterns, the empty last entry matches every line
  EXPECT_TRUE(Ini().ReadBool("RenzokuDelete", "RegCheck", false));
  // A bad pattern among the entries: the pane keeps the text it had before the command.
  Show("x\r\ny");
  dialogs->lists.push_back(ListAnswer{{QStringLiteral("x"), QStringLiteral("[")}, true});
  CaptureStderr();
  controller->Mrenzokudeleteline1Click();
  EXPECT_NE(GetCapturedStderr().find("haruvi: "), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "x\r\ny");
  // Cancel writes nothing.
  dialogs->lists.push_back(std::nullopt);
  controller->Mrenzku1Click();
  EXPECT_EQ(Ini().ReadInteger("RenzokuDelete", "ListCount", 0), 2);
}

}  // namespace
}  // namespace haruvi::controllers

namespace haruvi::controllers {
namespace {

TEST_F(SearchTest, FiltersAndRegexReplaceOnAUtf8PaneKeepEveryCharacter) {
  // 😀 and 한 have no Shift_JIS code: they stay whole, and "." takes each as one character.
  win.Pane().SetText(std::string("あ 😀\r\nい\r\nう 한\r\n"), encoding::TextForm::Utf8);
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("^[あう] .$"), {}, false});
  controller->MpickuplineSEIKI1Click();
  EXPECT_EQ(win.Pane().Bytes(), "あ 😀\r\nう 한\r\n");
  EXPECT_EQ(win.Pane().TextForm(), encoding::TextForm::Utf8);
  dialogs->patterns.push_back(PatternAnswer{QStringLiteral("^(.) (.)$"), QStringLiteral("<&>"), false});
  controller->MreplaceGrep1Click();
  EXPECT_EQ(win.Pane().Bytes(), "<あ 😀>\r\n<う 한>\r\n");
  dialogs->texts.push_back(QStringLiteral("う"));
  controller->Mdeleteline1Click();
  EXPECT_EQ(win.Pane().Bytes(), "<あ 😀>\r\n");
}

TEST_F(GrepTest, APatternCharacterWithoutAShiftJisCodeIsRefusedNotSearchedAsItsSubstitute) {
  win.dir.Write("docs/geta.txt", test::S("〓 line\r\n"));
  win.Pane().SetText(std::string("x"));
  CaptureStderr();
  dialogs->greps.push_back(Answer("\xF0\xA0\xAE\xB7", false, false, false));  // 𠮷
  controller->MgrepClick();
  controller->WaitGrep();
  EXPECT_NE(GetCapturedStderr().find("Grepできません"), std::string::npos);
  EXPECT_EQ(PaneUtf8(), "x");  // no report with "= 〓", no line of "〓"
}

}  // namespace
}  // namespace haruvi::controllers
