// The rich-text reader: formatting, code-page bytes, Unicode escapes, tables, and files
// that are cut short or hostile.
#include <gtest/gtest.h>

#include "viewer/rtf_reader.h"

namespace haruvi::viewer {
namespace {

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) out.push_back(static_cast<char>(c));
    else if (c < 0x800) { out.push_back(static_cast<char>(0xC0 | (c >> 6))); out.push_back(static_cast<char>(0x80 | (c & 63))); }
    else { out.push_back(static_cast<char>(0xE0 | (c >> 12))); out.push_back(static_cast<char>(0x80 | ((c >> 6) & 63))); out.push_back(static_cast<char>(0x80 | (c & 63))); }
  }
  return out;
}

TEST(RtfReader, NotRichTextIsRefused) {
  EXPECT_FALSE(ReadRtf("plain text"));
  EXPECT_FALSE(ReadRtf(""));
  EXPECT_FALSE(ReadRtf(" {\\rtf1}"));
}

// What a word processor writes: font and colour tables, a style sheet, a generator note,
// paragraphs with formatting, Shift_JIS bytes and Unicode escapes.
constexpr const char* kWordProcessorRtf =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f4\\fnil\\fprq2\\fcharset128 MS Mincho;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
    "{\\stylesheet{\\s0\\snext0 Default Paragraph Style;}}\n"
    "{\\*\\generator A Word Processor;}{\\info{\\title Sample}}\n"
    "\\pard\\plain \\f4\\fs24 Plain {\\b bold} {\\i italic} {\\ul under}{\\strike gone}\\par\n"
    "\\pard\\plain \\f4\\fs32\\cf2 \\'93\\'fa\\'96\\'7b\\'8c\\'ea\\par\n"
    "\\uc2 \\u26085\\'93\\'fa\\uc1 \\u26412?\\tab x\\line y\\par}\n";

TEST(RtfReader, ReadsWhatWordProcessorsWrite) {
  auto doc = ReadRtf(kWordProcessorRtf);
  ASSERT_TRUE(doc);
  ASSERT_EQ(doc->paragraphs.size(), 4u);
  EXPECT_EQ(Utf8(doc->PlainText()), "Plain bold italic undergone\n日本語\n日本\tx\u2028y\n");
  const auto& runs = doc->paragraphs[0].runs;
  ASSERT_GE(runs.size(), 5u);
  EXPECT_FALSE(runs[0].bold);
  EXPECT_EQ(runs[0].half_points, 24);
  EXPECT_TRUE(runs[1].bold);
  EXPECT_EQ(Utf8(runs[1].text), "bold");
  EXPECT_TRUE(runs[3].italic);
  const RtfRun& red = doc->paragraphs[1].runs[0];
  EXPECT_TRUE(red.has_color);
  EXPECT_EQ(red.color, 0xFF0000u);
  EXPECT_EQ(red.half_points, 32);
}

TEST(RtfReader, EscapedBracesAndBackslashes) {
  auto doc = ReadRtf("{\\rtf1 a\\{b\\}c\\\\d}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "a{b}c\\d");
}

TEST(RtfReader, AFileCutShortGivesWhatWasRead) {
  auto doc = ReadRtf("{\\rtf1 {\\b abc");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "abc");
  EXPECT_TRUE(ReadRtf("{\\rtf1 \\'8"));
  EXPECT_TRUE(ReadRtf("{\\rtf1 \\"));
  EXPECT_TRUE(ReadRtf("{\\rtf1 \\u"));
}

TEST(RtfReader, DeepNestingIsRefusedWithoutOverflow) {
  std::string deep = "{\\rtf1 " + std::string(1'000'000, '{') + "x" + std::string(1'000'000, '}') + "}";
  EXPECT_FALSE(ReadRtf(deep));
  std::string fine = "{\\rtf1 " + std::string(100, '{') + "x" + std::string(100, '}') + "}";
  ASSERT_TRUE(ReadRtf(fine));
  EXPECT_EQ(Utf8(ReadRtf(fine)->PlainText()), "x");
}

TEST(RtfReader, BinaryCountsAreNotTrusted) {
  auto doc = ReadRtf("{\\rtf1 a\\bin999999999 xyz}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "a");
  doc = ReadRtf("{\\rtf1 a\\bin2 XXb}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "ab");
  EXPECT_TRUE(ReadRtf("{\\rtf1 \\fs99999999999999999999 x}"));
  EXPECT_TRUE(ReadRtf("{\\rtf1 \\u-99999999999 x}"));
}

TEST(RtfReader, UnknownOptionalDestinationsAreSkipped) {
  auto doc = ReadRtf("{\\rtf1 {\\*\\unknown secret {\\b deeper}}shown{\\pict 0102}}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "shown");
}

TEST(RtfReader, CodePageNumbers) {
  EXPECT_EQ(CodePageForNumber(932), encoding::CodePage::Cp932);
  EXPECT_EQ(CodePageForNumber(1251), encoding::CodePage::Windows1251);
  EXPECT_FALSE(CodePageForNumber(65001));
  auto doc = ReadRtf("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Utf8(doc->PlainText()), "café");
}

TEST(RtfReader, ArbitraryBytesNeverCrash) {
  std::string junk = "{\\rtf1";
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245 + 12345;
    const char* alphabet = "{}\\'abu019 -*\r\n";
    junk.push_back((state >> 16) % 3 == 0 ? static_cast<char>(state >> 8) : alphabet[(state >> 20) % 16]);
  }
  (void)ReadRtf(junk);
  SUCCEED();
}

}  // namespace
}  // namespace haruvi::viewer

#include "viewer/rtf_writer.h"

namespace haruvi::viewer {
namespace {

// What the writer writes, the reader reads back as the same text.
TEST(RtfWriter, ReadsBackAsTheSameText) {
  const std::string text = "\x93\xfa\x96\x7b\x8c\xea\r\n{braces} and \\back\tslash\r\n\r\nlast";
  const std::string rtf = WriteRtf(text, encoding::CodePage::Cp932, "\x82\x6c\x82\x72 Gothic", 18);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg932"));
  auto doc = ReadRtf(rtf);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->PlainText(), u"日本語\n{braces} and \\back\tslash\n\nlast");
  auto empty = ReadRtf(WriteRtf("", encoding::CodePage::Cp932, "x", 18));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->PlainText(), u"");
  auto latin = ReadRtf(WriteRtf("caf\xe9", encoding::CodePage::Windows1252, "x", 18));
  ASSERT_TRUE(latin);
  EXPECT_EQ(latin->PlainText(), u"café");
}

}  // namespace
}  // namespace haruvi::viewer
