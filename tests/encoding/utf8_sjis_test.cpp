// UTF-8 patterns and paths into Shift_JIS: the system converter's choices, refusals, and
// paths that keep their bytes when they cannot be converted.
#include "encoding/utf8_sjis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace haruvi::encoding {
namespace {

TEST(Utf8ToSjis, ConvertsAsTheSystemConverterDoesAndRefusesTheRest) {
  const struct {
    std::string utf8;
    std::optional<std::string> sjis;
  } rows[] = {
      {"", ""},
      {"plain ASCII\r\n", "plain ASCII\r\n"},
      {"検索ファイル", "\x8C\x9F\x8D\xF5\x83\x74\x83\x40\x83\x43\x83\x8B"},
      {"ｶﾅ", "\xB6\xC5"},
      {"〜", "\x81\x60"},  // the wave dash goes where CP932 keeps its look-alike
      {"①", "\x87\x40"},  // NEC row 13
      {"🍣", std::nullopt},           // outside Shift_JIS
      {"한", std::nullopt},           // Hangul
      {"a\xFF", std::nullopt},        // not UTF-8
      {"\xE6\xA4", std::nullopt},     // a character cut off by the end
      {"\x82\xA0", std::nullopt},     // Shift_JIS already: not UTF-8
      {"\xED\xA0\x80", std::nullopt},  // an encoded surrogate
  };
  for (const auto& r : rows) EXPECT_EQ(Utf8ToSjis(r.utf8), r.sjis) << r.utf8;
  // Every ASCII byte (backslash and tilde too) keeps its value, as the converter keeps it.
  std::string ascii(128, '\0');
  for (int c = 0; c < 128; ++c) ascii[static_cast<std::size_t>(c)] = static_cast<char>(c);
  EXPECT_EQ(Utf8ToSjis(ascii), ascii);
  EXPECT_EQ(Utf8ToSjis(ascii + "\xC3\xA9"), std::nullopt);  // é has no code: ASCII before it changes nothing
}

TEST(PathToSjis, ConvertsWhereItCanAndKeepsTheBytesElsewhere) {
  EXPECT_EQ(PathToSjis("/home/u/〜名前.txt"), "/home/u/\x81\x60\x96\xBC\x91\x4F.txt");
  EXPECT_EQ(PathToSjis("/home/u/\x82\xA0.txt"), "/home/u/\x82\xA0.txt");
  EXPECT_EQ(PathToSjis("/home/u/한.txt"), "/home/u/한.txt");
  // A failed conversion leaves nothing behind for the next one.
  EXPECT_EQ(PathToSjis("/a/\xE6\xA4"), "/a/\xE6\xA4");
  EXPECT_EQ(PathToSjis("/a/b"), "/a/b");
}

}  // namespace
}  // namespace haruvi::encoding
