// Base64, mail-header, uuencode and BinHex: the documented cases, agreement with the
// system's base64 and uuencode, decoders inverting encoders, and malformed input.
#include "encoding/codings.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "encoding/jis_convert.h"
#include "support/run_process.h"

namespace haruvi::encoding {
namespace {

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(Base64, DocumentedCases) {
  EXPECT_EQ(Base64Encode("abc"), "YWJj");
  EXPECT_EQ(Base64Encode("a"), "YQ==");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Decode("YWJj\r\nYQ=="), "abca");
  EXPECT_EQ(Base64Decode("YWI="), "ab");
  EXPECT_EQ(Base64Decode(""), "");
}

TEST(Base64, MalformedInputGivesWhatItsCharactersDetermine) {
  EXPECT_EQ(Base64Decode("YW\r\nJj"), "abc");   // a line end inside a group
  EXPECT_EQ(Base64Decode("Y W*J j"), "abc");    // stray bytes are skipped
  EXPECT_EQ(Base64Decode("YWJjYQ"), "abca");    // cut short by the end
  EXPECT_EQ(Base64Decode("YWJjY"), "abc");      // one character determines no byte
  EXPECT_EQ(Base64Decode("=YWJj"), "abc");      // a pad where a group starts
  EXPECT_EQ(Base64Decode("YQ==YWJj"), "aabc");  // decoding goes on after a padded group
}

TEST(Base64, AgreesWithTheSystemBase64) {
  const std::string data = RandomBytes(10000, 1);
  const auto sys = test::RunProcess("/usr/bin/base64", {"-w0"}, data);
  ASSERT_EQ(sys.exit_code, 0);
  EXPECT_EQ(Base64Encode(data), sys.out);
  const auto wrapped = test::RunProcess("/usr/bin/base64", {"-w76"}, data);
  EXPECT_EQ(Base64Decode(wrapped.out), data);
}

TEST(Codings, DecodersInvertEncodersForEveryLengthUpTo200) {
  for (size_t n = 0; n <= 200; ++n) {
    const std::string data = RandomBytes(n, static_cast<unsigned>(n));
    ASSERT_EQ(Base64Decode(Base64Encode(data)), data) << n;
    ASSERT_EQ(UuDecode(UuEncode(data, "\r")), data) << n;
    ASSERT_EQ(UuDecode(UuEncode(data, "\r\n")), data) << n;
    ASSERT_EQ(BinHexDecode(BinHexEncode(data, "\r")), data) << n;
    ASSERT_EQ(BinHexDecode(BinHexEncode(data, "\r\n")), data) << n;
  }
}

TEST(UuEncode, DocumentedCases) {
  const std::string cat = UuEncode("Cat", "\r");
  EXPECT_EQ(cat, "#0V%T\r`\r");
  EXPECT_EQ(UuDecode(cat), "Cat");
  const std::string full = UuEncode(std::string(45, 'x'), "\r");
  ASSERT_EQ(full.size(), 61u + 3u + 1u);
  EXPECT_EQ(full[0], 'M');
  EXPECT_EQ(full.substr(61), "\r\r`\r");
  EXPECT_EQ(UuEncode("", "\r"), "\r`\r");
  EXPECT_EQ(UuEncode("a", "\n"), "!80``\n`\n");  // the last group is filled with zero bytes
}

TEST(UuEncode, BodyLinesAgreeWithTheSystemUuencode) {
  const std::string data = RandomBytes(1000, 2);
  const auto sys = test::RunProcess("/usr/bin/uuencode", {"x"}, data);
  ASSERT_EQ(sys.exit_code, 0);
  // The system writes "begin ..." first and "end" last; the lines between are ours.
  std::istringstream lines(sys.out);
  std::string line, body;
  std::getline(lines, line);
  while (std::getline(lines, line) && line != "end") body += line + "\n";
  EXPECT_EQ(UuEncode(data, "\n"), body);
}

TEST(UuDecode, MalformedInput) {
  EXPECT_EQ(UuDecode("#0V%T   trailing\r\n"), "Cat");      // characters after the groups
  EXPECT_EQ(UuDecode("#0V%"), "Ca");                      // a group cut short by the end
  EXPECT_EQ(UuDecode("#0V\r\n"), "C");                    // ... and by the line end
  EXPECT_EQ(UuDecode("\r\n\r\n#0V%T"), "Cat");             // empty lines before
  EXPECT_EQ(UuDecode("#0V%T\r`\r#0V%T\r"), "Cat");         // nothing after the short line
  EXPECT_EQ(UuDecode("M"), "");
  // A line that claims 45 bytes but ends early: its line end is never read as data, even
  // with a whole line's worth of characters after it.
  const std::string full = UuEncode(std::string(45, 'x'), "\r\n");  // "M" + 60 + CR LF ...
  EXPECT_EQ(UuDecode("M" + full.substr(1, 8) + "\r\n" + full), std::string(51, 'x'));
  EXPECT_EQ(UuDecode("M" + full.substr(1, 58) + "\n" + full), std::string(88, 'x'));
}

TEST(UuDecode, AFileWithItsBeginAndEndLines) {
  const std::string data = RandomBytes(1000, 4);
  const auto sys = test::RunProcess("/usr/bin/uuencode", {"x.bin"}, data);
  ASSERT_EQ(sys.exit_code, 0);
  EXPECT_EQ(UuDecode(sys.out), data);
  EXPECT_EQ(UuDecode("\r\nbegin 644 cat.txt\r\n#0V%T\r\n`\r\nend\r\n"), "Cat");
  // Without the grave-accent line the "end" line still ends the body.
  EXPECT_EQ(UuDecode("begin 600 x\n" + UuEncode(std::string(45, 'x'), "\n").substr(0, 62) + "end"),
            std::string(45, 'x'));
}

TEST(BinHex, DocumentedCases) {
  EXPECT_EQ(BinHexEncode("", "\r"), "::");
  const std::string data = RandomBytes(300, 3);
  const std::string coded = BinHexEncode(data, "\r");
  // Every line but the last has 64 characters, the first counting its ':'.
  std::istringstream lines(coded);
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line, '\r')) all.push_back(line);
  ASSERT_GE(all.size(), 2u);
  for (size_t k = 0; k + 1 < all.size(); ++k) EXPECT_EQ(all[k].size(), 64u) << k;
  EXPECT_EQ(all.front()[0], ':');
  EXPECT_EQ(all.back().back(), ':');
  EXPECT_EQ(BinHexDecode(coded), data);
}

TEST(BinHex, UsesTheBinHexAlphabetLikeBase64WithAnotherTable) {
  // base64 "YWJj" is values 24 22 9 35; in the BinHex alphabet those are B @ * M.
  EXPECT_EQ(BinHexEncode("abc", "\r"), ":B@*M:");
  EXPECT_EQ(BinHexDecode(":B@*M:"), "abc");
  EXPECT_EQ(BinHexDecode(":B@*\r\nM:"), "abc");
  EXPECT_EQ(BinHexDecode(":B@"), "a");                // cut short
  EXPECT_EQ(BinHexDecode(":B@*M B@*M:"), "abc");      // a blank is outside the alphabet: stop
  EXPECT_EQ(BinHexDecode(""), "");
  EXPECT_EQ(BinHexDecode(":"), "");
}

TEST(MimeHeader, EncodesRunsOfTwoByteCharacters) {
  const std::string kanji = "\x8A\xBF\x8E\x9A";  // 漢字
  const std::string coded = MimeHeaderEncode("Subject: " + kanji + " ok");
  const std::string prefix = "Subject: =?ISO-2022-JP?B?";
  ASSERT_EQ(coded.substr(0, prefix.size()), prefix);
  ASSERT_EQ(coded.substr(coded.size() - 5), "?= ok");
  const std::string word = coded.substr(prefix.size(), coded.size() - prefix.size() - 5);
  EXPECT_EQ(Base64Decode(word), "\x1B$B\x34\x41\x3B\x7A");
  // Half-width kana are single characters and stay as they are.
  EXPECT_EQ(MimeHeaderEncode("\xB1" "a"), "\xB1" "a");
  EXPECT_EQ(MimeHeaderEncode("\x88"), "\x88");
}

TEST(MimeHeader, DecodesEncodedWordsInAnyCase) {
  const std::string jis = "\x1B$B\x34\x41\x3B\x7A";
  const std::string word = Base64Encode(jis);
  EXPECT_EQ(MimeHeaderDecode("S: =?ISO-2022-JP?B?" + word + "?= x"), "S: " + jis + "\x1B(J x");
  EXPECT_EQ(MimeHeaderDecode("=?iso-2022-jp?b?" + word + "?="), jis + "\x1B(J");
  EXPECT_EQ(MimeHeaderDecode("a =?ISO-2022-JP?B?YWJj"), "a YWJj");  // no end mark: prefix goes
  EXPECT_EQ(MimeHeaderDecode("=?ISO-2022-JP?B?YQ==?==?ISO-2022-JP?B?Yg==?="), "a\x1B(Jb\x1B(J");
  // An end mark before the prefix is not taken for the word's end.
  EXPECT_EQ(MimeHeaderDecode("x?= =?ISO-2022-JP?B?YWJj?="), "x?= abc\x1B(J");
  EXPECT_EQ(MimeHeaderDecode(MimeHeaderEncode("To: \x88\x9F")), "To: \x1B$B\x30\x21\x1B(J");
}

}  // namespace
}  // namespace haruvi::encoding
