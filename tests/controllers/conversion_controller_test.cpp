// The code conversions through their handlers: each op on small files of each code, the
// blue label, the pane untouched without a file, and the submenus' items enabled by the
// code detected in the pane (the pop-up copies alike).
#include "controllers/conversion/conversion_controller.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <QAction>
#include <QMenu>

#include "encoding/japanese_form.h"
#include "fake_window.h"
#include "support/sjis.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using namespace std::string_literals;

std::string Iconv(const char* to, std::string_view utf8) {
  iconv_t cd = iconv_open(to, "UTF-8");
  std::string in(utf8), out(utf8.size() * 4 + 16, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  iconv(cd, &ip, &il, &op, &ol);
  iconv(cd, nullptr, nullptr, &op, &ol);  // back to ASCII at the end (JIS)
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

class ConversionTest : public ::testing::Test {
 protected:
  void Select(const char* name, const std::string& bytes) {
    w.dir.Write(std::string("f/") + name, bytes);
    w.Select(w.dir / "f", QString::fromUtf8(name));
  }
  std::string Convert(const char* action, const std::string& file) {
    Select("in.txt", file);
    w.InfoLine().setPalette(QPalette());
    w.Actions().Trigger(QString::fromUtf8(action));
    EXPECT_EQ(w.InfoLine().palette().color(QPalette::WindowText), QColor(Qt::blue)) << action;
    return w.Pane().Bytes();
  }
  bool On(const char* name) { return w.Actions().Get(QString::fromUtf8(name))->isEnabled(); }

  test::FakeWindow w;
  ConversionController conv{w};
};

TEST_F(ConversionTest, EachOpOnAFileOfItsCode) {
  const std::string sjis = test::S("日本語の文\r\n");
  const std::string euc = Iconv("EUC-JP", "日本語の文\r\n");
  const std::string jis = Iconv("ISO-2022-JP", "日本語の文\r\n");
  EXPECT_EQ(Convert("Mjistosjis", jis), sjis);
  EXPECT_EQ(Convert("Meuctosjis", euc), sjis);
  EXPECT_EQ(Convert("Mtojis1", euc), sjis);  // detected, then converted
  EXPECT_EQ(Convert("Mtojis1", jis), sjis);
  EXPECT_EQ(Convert("Mtojis1", sjis), sjis);
  EXPECT_EQ(Convert("Msjistoeuc1", sjis), euc);
  EXPECT_EQ(Convert("Mjistoeuc1", jis), euc);
  EXPECT_EQ(Convert("Msjistojis1", "a\x88\x9F" "b\r\n"), "a\x1B$B0!\x1B(Jb\r\n");
  EXPECT_EQ(Convert("Meuctojis1", "a\xB0\xA1" "b\r\n"), "a\x1B$B0!\x1B(Jb\r\n");
  // The conversions read the file as lines ending in CR LF.
  EXPECT_EQ(Convert("Msjistoeuc1", "a\nb"), "a\r\nb\r\n");
}

TEST_F(ConversionTest, EachCodingOnASmallFile) {
  EXPECT_EQ(Convert("Mbase641", "abc"), "YWJj");
  EXPECT_EQ(Convert("Mbase64D1", "YWJj\r\nYQ==\r\n"), "abca");
  EXPECT_EQ(Convert("Municode1", "Cat"), "#0V%T\r`\r");
  EXPECT_EQ(Convert("MUnicodeD1", "#0V%T\r`\r"), "Cat");
  EXPECT_EQ(Convert("MUnicodeD1", "begin 644 cat.txt\n#0V%T\n`\nend\n"), "Cat");
  EXPECT_EQ(Convert("Mbinhex1", ""), "::");
  EXPECT_EQ(Convert("MBinHexD1", Convert("Mbinhex1", "BinHex data")), "BinHex data");
  const std::string header = Convert("Mmailheader1", test::S("Subject: 日本 ok\r\n"));
  EXPECT_EQ(header, "Subject: =?ISO-2022-JP?B?GyRCRnxLXA==?= ok\r\n");
  EXPECT_EQ(Convert("MmailheaderD1", "s: =?iso-2022-jp?B?GyRCRnxLXA==?=\r\n"), "s: \x1B$BF|K\\\x1B(J\r\n");
}

TEST_F(ConversionTest, EncodersReadABinaryFileWhole) {
  const std::string binary = "\x01\x00\r\x02\n\xFF"s;
  EXPECT_EQ(Convert("Mbase641", binary), "AQANAgr/");
  EXPECT_EQ(Convert("MBinHexD1", Convert("Mbinhex1", binary)), binary);
  EXPECT_EQ(Convert("MUnicodeD1", Convert("Municode1", binary)), binary);
  EXPECT_EQ(Convert("Mbase64D1", "AQANAgr/"), binary);
}

TEST_F(ConversionTest, NothingHappensWithoutARegularFile) {
  w.Pane().SetText(std::string("kept"));
  w.MoveToFolder(QString::fromStdString((w.dir / "f").string()));
  w.Actions().Trigger("Meuctosjis");
  EXPECT_EQ(w.Pane().Bytes(), "kept");
  std::filesystem::create_directories(w.dir / "f" / "sub");
  w.Select(w.dir / "f", "sub");
  w.Actions().Trigger("ToolButton52");
  EXPECT_EQ(w.Pane().Bytes(), "kept");
}

TEST_F(ConversionTest, TheSubmenusEnableWhatFitsTheDetectedCode) {
  const char* nine[] = {"Mtojis1", "Mjistosjis", "Meuctosjis", "Msjistojis1", "Meuctojis1",
                        "Msjistoeuc1", "Mjistoeuc1", "Mbase641", "Mmailheader1"};
  const char* twins[] = {"Mtojis3", "Mjistosjis3", "Meuctosjis3", "Msjistojis2", "Meuctojis2",
                         "Msjistoeuc2", "Mjistoeuc2", "MBase642", "Mmailheader2"};
  struct Row {
    std::string text;
    const char* fit;  // 1 for each of the nine that is enabled
  };
  const Row rows[] = {
      {"", "000000000"},
      {"abc", "111111111"},
      {"\x01" "abc", "000000000"},
      {"\x1B$B0!\x1B(B", "110000111"},
      {"\x1B$@0!\x1B(B", "110000111"},
      {"\xF0\xA1", "101010011"},
      {"\x88\x9F", "100101011"},
      {"\xB0\xA1", "101111011"},
  };
  QMenu menu, popup;
  conv.WatchMenus(&menu, &popup);
  for (const Row& r : rows) {
    w.Pane().SetText(r.text);
    emit (&r == &rows[0] ? menu : popup).aboutToShow();
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(On(nine[i]), r.fit[i] == '1') << nine[i] << " for " << r.fit;
      EXPECT_EQ(On(twins[i]), r.fit[i] == '1') << twins[i] << " for " << r.fit;
    }
    // The decoders are not touched.
    for (const char* d : {"Mbase64D1", "MmailheaderD1", "Municode1", "MUnicodeD1", "Mbinhex1", "MBinHexD1"})
      EXPECT_TRUE(On(d)) << d;
  }
  // Closed, the menus leave everything to the tool button and the keys.
  emit popup.aboutToHide();
  for (const char* n : nine) EXPECT_TRUE(On(n)) << n;
}

TEST_F(ConversionTest, UnicodeConversionsRoundTripAndShowTheFormTheyMade) {
  const std::string utf8 = "日本語 ①纊 ｱ\r\n"s;
  const std::string sjis = Iconv("CP932", utf8);
  EXPECT_EQ(Convert("Mutf8tosjis", utf8), sjis);
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Legacy);
  EXPECT_EQ(Convert("Msjistoutf82", sjis), utf8);  // the pop-up's copy
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Utf8);
  EXPECT_EQ(Convert("Meuctoutf8", Iconv("EUC-JP", "日本語\r\n")), "日本語\r\n");
  // UTF-16 is held in its UTF-8 form, to be saved as UTF-16.
  EXPECT_EQ(Convert("Mutf8toutf16", "あ"), "\xEF\xBB\xBF" "あ");
  EXPECT_EQ(w.Pane().TextForm(), encoding::TextForm::Utf16Le);
  EXPECT_EQ(Convert("Mutf16toutf8", std::string("\xFF\xFE" "B0", 4)), "あ");
}

TEST_F(ConversionTest, CharactersTheTargetLacksAreCountedAndSaid) {
  ui::SetHeadless(true);  // the message goes to standard error
  testing::internal::CaptureStderr();
  EXPECT_EQ(Convert("Mutf8tosjis", "a😀b한"), "a\x81\xAC" "b\x81\xAC");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("2 文字"), std::string::npos);
  ui::SetHeadless(false);
}

TEST_F(ConversionTest, TheSubmenusFollowTheFormTheTextIsShownIn) {
  const char* nine[] = {"Mtojis1", "Mjistosjis", "Meuctosjis", "Msjistojis1", "Meuctojis1",
                        "Msjistoeuc1", "Mjistoeuc1", "Mbase641", "Mmailheader1"};
  const char* unicode[] = {"Msjistoutf8", "Mutf8tosjis", "Meuctoutf8", "Mutf8toeuc",
                           "Mjistoutf8", "Mutf8tojis", "Mutf16toutf8", "Mutf8toutf16"};
  struct Row {
    std::string bytes;
    encoding::TextForm form;
    const char* fit;      // the nine
    const char* offered;  // the eight Unicode items
  };
  const Row rows[] = {
      // A UTF-8 text: no Shift_JIS item (its bytes would pass for Shift_JIS or EUC).
      {"\xE6\x97\xA5\xE6\x9C\xAC\r\n", encoding::TextForm::Utf8, "000000011", "01010101"},
      {"\xC6\xFC\xCB\xDC\r\n", encoding::TextForm::EucJp, "101010011", "00100000"},
      // An ISO-2022-JP text is held as EUC-JP: still offered what fits JIS.
      {*encoding::JisToPaneEuc("\x1B$B0!\x1B(B\r\n"), encoding::TextForm::Jis, "110000111", "00001000"},
      {"\x88\x9F", encoding::TextForm::Legacy, "100101011", "10000000"},
  };
  QMenu menu;
  conv.WatchMenus(&menu, nullptr);
  for (const Row& r : rows) {
    w.Pane().SetText(r.bytes, r.form);
    emit menu.aboutToShow();
    for (int i = 0; i < 9; ++i) EXPECT_EQ(On(nine[i]), r.fit[i] == '1') << nine[i] << " for " << r.fit;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(On(unicode[i]), r.offered[i] == '1') << unicode[i] << " for " << r.offered;
    emit menu.aboutToHide();
    for (const char* n : unicode) EXPECT_TRUE(On(n)) << n;
  }
}

}  // namespace
}  // namespace haruvi::controllers
