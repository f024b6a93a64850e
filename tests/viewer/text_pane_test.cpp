// The text pane's byte interface: what goes in comes back byte for byte, offsets, tab
// stops, rich text and simple edit.
#include <QFontMetricsF>
#include <random>

#include <gtest/gtest.h>

#include "viewer/byte_view.h"
#include "viewer/text_pane.h"

namespace haruvi::viewer {
namespace {

std::string RandomBytes(std::mt19937& rng, size_t n) {
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(TextPane, HandsBackExactlyTheBytesItWasGiven) {
  TextPane pane;
  pane.resize(400, 300);
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::string bytes = RandomBytes(rng, 1 + rng() % 3000);
    pane.SetText(bytes);
    ASSERT_EQ(pane.Bytes(), bytes);
    pane.View()->grab();  // painting must not change or break anything
    ASSERT_EQ(pane.Bytes(), bytes);
  }
}

TEST(TextPane, LinesTextAndOffsets) {
  TextPane pane;
  pane.SetText("\x93\xfa\x96\x7b\ntwo\r\nthree");
  EXPECT_EQ(pane.LineCount(), 3u);
  EXPECT_EQ(pane.Line(0), "\x93\xfa\x96\x7b");
  EXPECT_EQ(pane.Text(), "\x93\xfa\x96\x7b\r\ntwo\r\nthree");
  EXPECT_EQ(pane.Bytes(), "\x93\xfa\x96\x7b\ntwo\r\nthree");
  EXPECT_EQ(pane.OffsetOfLine(2), 11u);
  EXPECT_EQ(pane.LineOfOffset(7), 1u);
  pane.SetSelection(6, 3);
  EXPECT_EQ(pane.SelStart(), 6u);
  EXPECT_EQ(pane.SelLength(), 3u);
  EXPECT_EQ(pane.SelectedText(), "two");
  EXPECT_EQ(pane.Caret(), 9u);
  pane.SetLines({"a", "b"});
  EXPECT_EQ(pane.Text(), "a\r\nb\r\n");
  pane.Clear();
  EXPECT_TRUE(pane.IsEmpty());
  EXPECT_EQ(pane.LineCount(), 0u);
}

TEST(TextPane, TabStopsAreWidthsOfM) {
  TextPane pane;
  QFont font("Noto Sans Mono CJK JP");
  font.setPointSize(9);
  pane.SetPaneFont(font, Qt::black);
  pane.SetTabWidth(4);
  const qreal m = QFontMetricsF(font).horizontalAdvance(QString(512, 'M')) / 512.0;
  EXPECT_NEAR(pane.TabStopDistance(), 4 * m, 0.01);
  pane.SetTabWidth(0);  // no width: the default 8
  EXPECT_NEAR(pane.TabStopDistance(), 8 * m, 0.01);
}

TEST(TextPane, RichTextIsShownFormattedAndRefusedWhenItIsNot) {
  TextPane pane;
  EXPECT_FALSE(pane.SetRichText("not rich"));
  ASSERT_TRUE(pane.SetRichText("{\\rtf1\\ansi\\ansicpg932 {\\b \\'93\\'fa}\\par x}"));
  EXPECT_TRUE(pane.ShowingRichText());
  EXPECT_EQ(pane.Text(), "\x93\xfa\r\nx");
}

TEST(TextPane, SimpleEditKeepsBytesUntilTheUserTypes) {
  TextPane pane;
  const std::string bytes = "\x87\x90 \xed\x40 \xfa\x5c\r\n\x82";  // duplicates and a cut-off lead byte
  pane.SetText(bytes);
  pane.SetReadOnly(false);
  EXPECT_EQ(pane.Bytes(), bytes);
  EXPECT_FALSE(pane.CanUndo());
  pane.SetReadOnly(true);
  EXPECT_EQ(pane.Bytes(), bytes);
}

TEST(TextPane, WordWrapAndCodePage) {
  TextPane pane;
  pane.SetWordWrap(true);
  EXPECT_TRUE(pane.WordWrap());
  pane.SetText(std::string(5000, 'x'));
  pane.resize(200, 200);
  pane.View()->grab();
  pane.SetCodePage(encoding::CodePage::Windows1252);
  EXPECT_EQ(pane.CodePage(), encoding::CodePage::Windows1252);
  EXPECT_EQ(DecodeForDisplay("caf\xe9", pane.CodePage()), QString::fromUtf8("café"));
}

TEST(TextPane, AHundredMegabyteLineShowsWithoutHanging) {
  TextPane pane;
  pane.resize(400, 200);
  pane.SetText(std::string(100u << 20, '\x82'));
  pane.View()->grab();
  pane.View()->horizontalScrollBar();
  EXPECT_EQ(pane.LineCount(), 1u);
}

}  // namespace
}  // namespace haruvi::viewer

namespace haruvi::viewer {
namespace {

TEST(TextPane, AUtf8TextIsShownWholeAndHandedBackAndItsFormEndsWithIt) {
  TextPane pane;
  pane.resize(400, 300);
  // Beyond CP932: an emoji past U+FFFF, a combining mark, a variation selector; and a
  // stray byte shown as a hex box.
  const std::string bytes = "\xE6\x97\xA5 \xF0\x9F\x98\x80 e\xCC\x81 \xE8\x91\x9B\xF3\xA0\x84\x80 \xFF\r\nx";
  pane.SetText(bytes, encoding::TextForm::Utf8);
  EXPECT_EQ(pane.ShownPage(), encoding::CodePage::Utf8);
  EXPECT_EQ(pane.CodePage(), encoding::CodePage::Cp932);  // the font's stays
  pane.View()->grab();
  EXPECT_EQ(pane.Bytes(), bytes);
  pane.SelectAll();
  EXPECT_EQ(pane.View()->SelectedDisplayText(),
            QString::fromUtf8("\xE6\x97\xA5 \xF0\x9F\x98\x80 e\xCC\x81 \xE8\x91\x9B\xF3\xA0\x84\x80 \r\nx"));
  pane.SetText(std::string("\x82\xA0"));
  EXPECT_EQ(pane.TextForm(), encoding::TextForm::Legacy);
  EXPECT_EQ(pane.ShownPage(), encoding::CodePage::Cp932);
}

}  // namespace
}  // namespace haruvi::viewer
