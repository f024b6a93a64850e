// haruvi-tool detect, conv and width on real files and standard input.
#include <gtest/gtest.h>

#include <random>

#include "encoding/codings.h"
#include "encoding/jis_convert.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi {
namespace {

using test::RunTool;

TEST(EncodingTool, DetectNamesEachFileOnItsOwnLine) {
  test::TempDir dir;
  const auto sjis = dir.Write("a.txt", "\x88\x9F\r\n");
  const auto jis = dir.Write("b.txt", "\x1B$B\x30\x21\x1B(B\r\n");
  const auto bin = dir.Write("c.bin", std::string("ab\0cd", 5));
  const auto empty = dir.Write("d.txt", "");
  const auto r = RunTool({"detect", sjis.string(), jis.string(), bin.string(), empty.string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "ｼﾌﾄJIS\t" + sjis.string() + "\nJIS83\t" + jis.string() + "\nﾊﾞｲﾅﾘ\t" + bin.string() +
                       "\nASCII\t" + empty.string() + "\n");
}

TEST(EncodingTool, DetectGoesOnPastAMissingFileAndFails) {
  test::TempDir dir;
  const auto ok = dir.Write("a.txt", "\xA4\xA2\xA4\xA2");
  const auto r = RunTool({"detect", (dir / "missing").string(), ok.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "EUC+ｼﾌﾄJIS\t" + ok.string() + "\n");
  EXPECT_NE(r.err.find("missing"), std::string::npos);
  EXPECT_EQ(RunTool({"detect"}, "a\x1B$").out, "ASCII\t-\n");
}

TEST(EncodingTool, ConvReadsTheFileAsCrLfLinesCutAtNul) {
  test::TempDir dir;
  const auto file = dir.Write("a.txt", std::string("\x88\x9F\nb\rc\r\n\x88\x9F\0ignored", 15));
  const auto r = RunTool({"conv", "sjis2euc", file.string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "\xB0\xA1\r\nb\r\nc\r\n\xB0\xA1\r\n");
  EXPECT_EQ(RunTool({"conv", "--raw", "sjis2euc", file.string()}).out,
            std::string("\xB0\xA1\nb\rc\r\n\xB0\xA1\0ignored", 15));
}

TEST(EncodingTool, ConvRunsEveryNamedOperation) {
  const struct {
    const char* op;
    std::string in, out;
  } rows[] = {
      {"jis2sjis", "\x1B$B\x30\x21\x1B(B", "\x88\x9F\r\n"},
      {"euc2sjis", "\xB0\xA1", "\x88\x9F\r\n"},
      {"sjis2jis", "\x88\x9F", "\x1B$B\x30\x21\x1B(J\r\n"},
      {"euc2jis", "\xB0\xA1", "\x1B$B\x30\x21\x1B(J\r\n"},
      {"sjis2euc", "\x88\x9F", "\xB0\xA1\r\n"},
      {"jis2euc", "\x1B$B\x30\x21", "\xB0\xA1\r\n"},
      {"base64", "abc", "YWJjDQo="},
      {"base64d", "YWJj", "abc"},
      {"mime", "\x88\x9F", "=?ISO-2022-JP?B?GyRCMCE=?=\r\n"},
      {"mimed", "=?ISO-2022-JP?B?GyRCMCE=?=", "\x1B$B\x30\x21\x1B(J\r\n"},
      {"uu", "Cat", "%0V%T#0H`\r`\r"},
      {"uud", "#0V%T", "Cat"},
      {"binhex", "abc", ":B@*M$3S:"},
      {"binhexd", ":B@*M:", "abc"},
      {"auto", "\xB0\xA1\xF0\xA1", "\x88\x9F\xE8\x9F\r\n"},
  };
  for (const auto& row : rows) {
    const auto r = RunTool({"conv", row.op}, row.in);
    EXPECT_EQ(r.exit_code, 0) << row.op;
    EXPECT_EQ(r.out, row.out) << row.op;
  }
}

TEST(EncodingTool, ConvWritesBigTextsInPiecesThatJoinUpToTheWhole) {
  // Several megabytes of long lines of kanji, kana with marks, a little ASCII and stray
  // bytes; the tool writes the conversions in pieces, the library converts the whole.
  std::mt19937 rng(11);
  const std::string parts[] = {"\x88\x9F", "\xB6\xDE", "\xCA\xDF", "\x88\x9F", "\xB0\xA1", "\xA4\xA2",
                               "\x8E\xB6\x8E\xDE", "\xB1", "a", "\x88", "\xFF"};
  std::string text;
  while (text.size() < (3u << 20)) {
    for (int k = 0; k < 3000; ++k) text += parts[rng() % std::size(parts)];
    text += rng() % 2 ? "\r\n" : "\n";
  }
  test::TempDir dir;
  const auto file = dir.Write("big.txt", text);
  const struct {
    const char* op;
    std::string (*convert)(std::string_view);
  } rows[] = {{"sjis2euc", encoding::SjisToEuc}, {"euc2sjis", encoding::EucToSjis},
              {"sjis2jis", encoding::SjisToJis}, {"euc2jis", encoding::EucToJis},
              {"base64", encoding::Base64Encode}};
  for (const auto& row : rows) {
    const auto r = RunTool({"conv", "--raw", row.op, file.string()});
    ASSERT_EQ(r.exit_code, 0) << row.op;
    EXPECT_TRUE(r.out == row.convert(text)) << row.op;
  }

  // JIS whose two-byte mode runs on over line ends, with escapes that take a line end.
  const std::string jis_parts[] = {"\x1B$B", "\x1B(B", "\x1B(J", "0!", "%,", "ab", "\x1B\n", "\x1B$\n", "x"};
  std::string jis;
  while (jis.size() < (3u << 20)) {
    for (int k = 0; k < 3000; ++k) jis += jis_parts[rng() % std::size(jis_parts)];
    jis += rng() % 2 ? "\r\n" : "\n";
  }
  const auto jis_file = dir.Write("big.jis", jis);
  EXPECT_TRUE(RunTool({"conv", "--raw", "jis2sjis", jis_file.string()}).out == encoding::JisToSjis(jis));
  EXPECT_TRUE(RunTool({"conv", "--raw", "jis2euc", jis_file.string()}).out == encoding::JisToEuc(jis));
}

TEST(EncodingTool, WidthConvertsTheRawBytes) {
  EXPECT_EQ(RunTool({"width", "han2zen"}, "A\xB6\xDE").out, "\x82\x60\x83\x4B");
  EXPECT_EQ(RunTool({"width", "zen2han"}, "\x82\x60\x83\x4B").out, "A\xB6\xDE");
  EXPECT_EQ(RunTool({"width", "kana2zen"}, "A\xB6\xDE").out, "A\x83\x4A\x81\x4A");
}

TEST(EncodingTool, BadArgumentsAreUsageErrors) {
  EXPECT_EQ(RunTool({"conv"}).exit_code, 2);
  EXPECT_EQ(RunTool({"conv", "rot13"}).exit_code, 2);
  EXPECT_EQ(RunTool({"conv", "base64", "a", "b"}).exit_code, 2);
  EXPECT_EQ(RunTool({"width"}).exit_code, 2);
  EXPECT_EQ(RunTool({"width", "wide"}).exit_code, 2);
  EXPECT_EQ(RunTool({"conv", "base64", "/nonexistent/file"}).exit_code, 1);
}

}  // namespace
}  // namespace haruvi
