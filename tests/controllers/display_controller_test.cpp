// The display controller against a window-less context: a selected file shown through
// the pipeline (pane bytes, information line and colour, line count, the folder routine
// it ends with), the read settings read at each display, rich text, the display keys.
#include "controllers/display/display_controller.h"
#include "controllers/layout/layout_controller.h"

#include <gtest/gtest.h>

#include <QAction>

#include "encoding/japanese_form.h"
#include "fake_window.h"

namespace haruvi::controllers {
namespace {

class DisplayControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display.initset();
    w.dir.Write("files/sjis.txt", "\x93\xfa\x96\x7b\x8c\xea\r\nline2\r\n");
    w.dir.Write("files/six.txt", "123456");
    w.dir.Write("files/a.rtf", "{\\rtf1\\ansi {\\b bold}\\par second}");
  }
  void Select(const char* name) { w.Select(w.dir / "files", QString::fromUtf8(name)); }
  QColor InfoColor() { return w.InfoLine().palette().color(QPalette::WindowText); }

  test::FakeWindow w;
  DisplayController display{w};
};

TEST_F(DisplayControllerTest, ShowsTheSelectedFileWithItsInformationLine) {
  Select("sjis.txt");
  EXPECT_TRUE(display.filedisp());
  EXPECT_EQ(w.Pane().Bytes(), "\x93\xfa\x96\x7b\x8c\xea\r\nline2\r\n");
  EXPECT_TRUE(w.InfoLine().text().startsWith("sjis.txt   "));
  EXPECT_TRUE(w.InfoLine().text().endsWith("    ｼﾌﾄJIS"));
  EXPECT_EQ(InfoColor(), QColor(Qt::black));
  EXPECT_EQ(w.TextStatus().Text(1), " 2 行 ");
  EXPECT_FALSE(w.Called("folderinfo2"));  // the window names the folder's totals itself
  EXPECT_FALSE(w.Called("folderinfo"));
  w.Actions().Trigger("Mtextrepaint1");  // a show command does it after the display
  EXPECT_TRUE(w.Called("folderinfo2"));
}

TEST_F(DisplayControllerTest, InstantDisplayOffLeavesItToTheShowCommands) {
  w.Actions().Trigger("Mdisp");  // off
  EXPECT_EQ(w.Flags().instantmode, 0);
  EXPECT_EQ(w.TextStatus().Text(4), "  Vﾓｰﾄﾞ ");
  Select("sjis.txt");
  display.filedisp();
  EXPECT_TRUE(w.Pane().IsEmpty());
  // "&V テキストを表示" shows it once as a selection would, and instant display stays off.
  w.Actions().Trigger("Mv");
  EXPECT_FALSE(w.Pane().IsEmpty());
  EXPECT_EQ(InfoColor(), QColor(Qt::black));
  EXPECT_EQ(w.Flags().instantmode, 0);
  // The tool button forces it: blue label.
  w.Pane().Clear();
  w.Actions().Trigger("ToolButton49");
  EXPECT_FALSE(w.Pane().IsEmpty());
  EXPECT_EQ(InfoColor(), QColor(Qt::blue));
  EXPECT_TRUE(w.Called("folderinfo"));
}

TEST_F(DisplayControllerTest, ShowTextWithInstantDisplayBringsThePaneBack) {
  LayoutController layout{w};  // owns "MeditView1", which shows the pane again
  Select("sjis.txt");
  w.Pane().hide();
  w.Actions().Trigger("Mv");
  EXPECT_TRUE(w.Called("SetTextPaneVisible 1"));
}

TEST_F(DisplayControllerTest, TheShowCommandsTouchNothingWithoutAFile) {
  w.InfoLine().setText("kept");
  w.MoveToFolder(QString::fromStdString((w.dir / "files").string()));  // nothing selected
  w.Actions().Trigger("ToolButton49");
  EXPECT_EQ(w.InfoLine().text(), "kept");
}

TEST_F(DisplayControllerTest, ReadSettingsAreReadAtEveryDisplay) {
  Select("six.txt");
  w.Settings().Write(DisplayController::kReadMax, 5);
  display.filedisp();
  EXPECT_TRUE(w.Pane().IsEmpty());
  EXPECT_TRUE(w.InfoLine().text().contains("6 byte"));  // the size says why
  EXPECT_TRUE(w.InfoLine().text().endsWith("/        " "  "));
  w.Settings().Write(DisplayController::kReadMax, 6);
  display.filedisp();
  EXPECT_EQ(w.Pane().Bytes(), "123456");
}

TEST_F(DisplayControllerTest, RichTextModeShowsFormattedTextAndNamesTheKindEitherWay) {
  Select("a.rtf");
  display.filedisp();
  EXPECT_FALSE(w.Pane().ShowingRichText());
  EXPECT_TRUE(w.InfoLine().text().contains("[ﾘｯﾁテキスト]"));
  w.Actions().Trigger("Mrtf");
  EXPECT_EQ(w.TextStatus().Text(3), " RTF ");
  display.filedisp();
  EXPECT_TRUE(w.Pane().ShowingRichText());
  EXPECT_EQ(w.Pane().Text(), "bold\r\nsecond");
  EXPECT_TRUE(w.InfoLine().text().contains("[ﾘｯﾁテキスト]"));
}

TEST_F(DisplayControllerTest, RedisplayTurnsInstantDisplayBackOn) {
  w.Actions().Trigger("Mdisp");  // off
  w.Flags().shiftdown = 1;
  Select("sjis.txt");
  w.Actions().Trigger("Mtextrepaint1");
  EXPECT_EQ(w.Flags().shiftdown, 0);
  EXPECT_FALSE(w.Pane().IsEmpty());
  w.Actions().Trigger("Mtextnewview");
  EXPECT_TRUE(w.Called("ShowSelection"));
  EXPECT_TRUE(w.Actions().Checked("Mdisp"));
  EXPECT_EQ(w.TextStatus().Text(4), " ﾘｱﾙﾓｰﾄﾞ ");
}

TEST_F(DisplayControllerTest, TabWidthAnswers) {
  const struct {
    const char* answer;
    int width;
  } rows[] = {{"4", 4}, {" 16 ", 16}, {"255", 255}, {"256", 8}, {"0", 8}, {"-3", 8}, {"x", 8}, {"", 8}};
  for (const auto& r : rows) EXPECT_EQ(DisplayController::TabWidthFromAnswer(r.answer), r.width) << r.answer;
}

TEST_F(DisplayControllerTest, ItsKeysRoundTripAndBadValuesFallBack) {
  w.Actions().Trigger("Mwordwrap");
  w.Actions().Trigger("Mrtf");
  w.Flags().tabwidth = 4;
  display.inisave();
  w.Pane().SetWordWrap(false);
  w.Flags().tabwidth = 8;
  w.Actions().SetChecked("Mrtf", false);
  display.iniload();
  EXPECT_TRUE(w.Pane().WordWrap());
  EXPECT_TRUE(w.Actions().Checked("ToolButton39"));  // the wrap button pressed
  EXPECT_TRUE(w.Actions().Checked("Mrtf"));
  EXPECT_FALSE(w.Pane().PlainTextMode());
  EXPECT_EQ(w.Flags().tabwidth, 4);

  platform::IniFile& ini = w.Settings().File();
  ini.WriteString("RichEdit", "richtabwidth", "999");
  ini.WriteString("FontR", "Size", "0");
  ini.WriteString("FontR", "Style", "300");
  display.iniload();
  EXPECT_EQ(w.Flags().tabwidth, 8);
  EXPECT_EQ(w.Pane().PaneFont().pointSize(), 9);
  EXPECT_FALSE(w.Pane().PaneFont().bold());
}

TEST_F(DisplayControllerTest, FileNameListsReplaceThePane) {
  w.MoveToFolder(QString::fromStdString((w.dir / "files").string()));
  w.Actions().Trigger("Mfilenamedisp1");
  EXPECT_EQ(w.Pane().Text(), "a.rtf\r\nsix.txt\r\nsjis.txt\r\n");
  w.Actions().Trigger("Mfilenamedisp2");
  EXPECT_EQ(w.Pane().Line(0), (w.dir / "files/a.rtf").string());
  display.Mfilenamedisp0Click();  // nothing selected: the current file's item is off
  EXPECT_FALSE(w.Actions().Get("Mfilenamedisp3")->isEnabled());
}

}  // namespace
}  // namespace haruvi::controllers

#include "controllers/display/text_font_dialog.h"

namespace haruvi::controllers {
namespace {

TEST(TextFontDialog, OffersTheColourBesideTheFont) {
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPointSize(11);
  TextFontDialog dialog(font, Qt::red);
  EXPECT_EQ(dialog.Font().pointSize(), 11);
  EXPECT_EQ(dialog.Color(), QColor(Qt::red));
  dialog.SetColor(Qt::blue);
  EXPECT_EQ(dialog.Color(), QColor(Qt::blue));
  EXPECT_NE(dialog.ColorButton, nullptr);
}

}  // namespace
}  // namespace haruvi::controllers

#include <QElapsedTimer>

namespace haruvi::controllers {
namespace {

// Big files (here: above 256 bytes) show their beginning at once and the rest when read.
class BigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DisplayController::SetPreviewBytes(256);
    display.initset();
    for (int i = 0; i < 1000; ++i) text += "line " + std::to_string(i) + "\r\n";
    w.dir.Write("big/a.txt", text);
    w.dir.Write("big/b.txt", std::string(2000, 'b'));
    w.MoveToFolder(QString::fromStdString((w.dir / "big").string()));
  }
  void TearDown() override { DisplayController::SetPreviewBytes(4u << 20); }
  void WaitForTheRest() {
    QElapsedTimer t;
    t.start();
    while (!w.Text().Complete() && t.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  test::FakeWindow w;
  DisplayController display{w};
  std::string text;
};

TEST_F(BigFileTest, TheBeginningShowsAtOnceAndTheRestFollows) {
  w.Files().SelectByCaption("a.txt");
  display.filedisp();
  EXPECT_FALSE(w.Text().Complete());
  EXPECT_LT(w.Pane().Bytes().size(), 300u);
  EXPECT_TRUE(w.Pane().Bytes().ends_with("\r\n"));  // cut at a line end
  EXPECT_EQ(w.TextStatus().Text(1), " … 行 ");
  WaitForTheRest();
  EXPECT_EQ(w.Pane().Bytes(), text);
  EXPECT_EQ(w.TextStatus().Text(1), " 1000 行 ");
  EXPECT_TRUE(w.InfoLine().text().endsWith("ASCII"));
}

TEST_F(BigFileTest, ANewSelectionOrAnotherTextDropsTheRest) {
  w.Files().SelectByCaption("a.txt");
  display.filedisp();
  w.Files().SelectByCaption("b.txt");
  display.filedisp();
  WaitForTheRest();
  EXPECT_EQ(w.Pane().Bytes(), std::string(2000, 'b'));  // never the first file's rest
  w.Files().SelectByCaption("a.txt");
  display.filedisp();
  w.Text().Show("a listing", ui::TextOrigin::Listing);  // another text in its place
  EXPECT_TRUE(w.Text().Complete());
  QApplication::processEvents();
  EXPECT_EQ(w.Pane().Bytes(), "a listing");
}

TEST_F(BigFileTest, WhateverNeedsTheWholeTextWaitsForIt) {
  w.Files().SelectByCaption("a.txt");
  display.filedisp();
  w.Text().EnsureWhole();
  EXPECT_TRUE(w.Text().Complete());
  EXPECT_EQ(w.Pane().Bytes(), text);
}

TEST_F(DisplayControllerTest, EucAndJisAreShownDecodedUnlessTheRawViewIsChosen) {
  w.dir.Write("files/memo.euc", "\xC6\xFC\xCB\xDC\xB8\xEC\r\n");
  w.dir.Write("files/mail.jis", "\x1B$BF|K\\8l\x1B(B\r\n");
  Select("memo.euc");
  ASSERT_TRUE(display.filedisp());
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::EucJp);
  EXPECT_EQ(w.Pane().Bytes(), "\xC6\xFC\xCB\xDC\xB8\xEC\r\n");  // kept for save and dump
  EXPECT_TRUE(w.InfoLine().text().endsWith("EUC"));
  // The setting shows the bytes again at once, and is kept.
  w.Actions().Trigger("Mrawcode");
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Legacy);
  EXPECT_EQ(w.Pane().Bytes(), "\xC6\xFC\xCB\xDC\xB8\xEC\r\n");
  display.inisave();
  EXPECT_TRUE(w.Settings().File().ReadBool("Menu", "Mrawcode", false));
  w.Actions().Trigger("Mrawcode");
  Select("mail.jis");
  ASSERT_TRUE(display.filedisp());
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Jis);
  EXPECT_TRUE(w.InfoLine().text().endsWith("JIS83"));
  EXPECT_EQ(encoding::PaneEucToJis(w.Pane().Bytes()), "\x1B$BF|K\\8l\x1B(B\r\n");
}

}  // namespace
}  // namespace haruvi::controllers
