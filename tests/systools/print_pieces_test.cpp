// The printer's walk: lines with any line end, empty lines, a last line without an
// end, and long lines cut only where a character starts, in Shift_JIS and UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "systools/print_pieces.h"

namespace haruvi::systools {
namespace {

using encoding::CodePage;
using encoding::PaneCodec;

std::vector<std::string> Walk(std::string_view bytes, CodePage page, std::size_t max) {
  std::vector<std::string> out;
  PieceReader r(bytes, PaneCodec::For(page), max);
  TextPiece p;
  while (r.Next(p)) out.push_back(std::string(bytes.substr(p.begin, p.end - p.begin)) + (p.ends_line ? "|" : "+"));
  return out;
}

// Lines end as the pane ends them: CR LF, a lone LF or a lone CR (a file from an old Mac
// prints as many lines as it shows).
TEST(PrintPieces, LinesEndAsThePaneEndsThemAndEmptyLinesCount) {
  EXPECT_EQ(Walk("ab\r\n\r\ncd\nef", CodePage::Cp932, 100), (std::vector<std::string>{"ab|", "|", "cd|", "ef|"}));
  EXPECT_EQ(Walk("ab\r\n", CodePage::Cp932, 100), (std::vector<std::string>{"ab|"}));
  EXPECT_EQ(Walk("", CodePage::Cp932, 100), (std::vector<std::string>{}));
  EXPECT_EQ(Walk("\n", CodePage::Cp932, 100), (std::vector<std::string>{"|"}));
  EXPECT_EQ(Walk("a\rb\r", CodePage::Cp932, 100), (std::vector<std::string>{"a|", "b|"}));
  EXPECT_EQ(Walk("a\r\rb\n\rc", CodePage::Cp932, 100), (std::vector<std::string>{"a|", "|", "b|", "|", "c|"}));
}

TEST(PrintPieces, LongLinesAreCutOnlyWhereACharacterStarts) {
  // "aあいう" in Shift_JIS: a limit of 4 would split the second kanji's bytes.
  EXPECT_EQ(Walk("a\x82\xA0\x82\xA2\x82\xA4\r\nz", CodePage::Cp932, 4),
            (std::vector<std::string>{"a\x82\xA0+", "\x82\xA2\x82\xA4|", "z|"}));
  // UTF-8: three-byte characters never cut.
  EXPECT_EQ(Walk("\xE3\x81\x82\xE3\x81\x84", CodePage::Utf8, 4),
            (std::vector<std::string>{"\xE3\x81\x82+", "\xE3\x81\x84|"}));
}

TEST(PrintPieces, EveryByteIsWalkedOnceWhateverTheBytes) {
  std::string bytes;
  unsigned v = 99;
  for (int i = 0; i < 5000; ++i) {
    v = v * 1664525u + 1013904223u;
    bytes.push_back(static_cast<char>(v >> 24));
  }
  for (CodePage page : {CodePage::Cp932, CodePage::Utf8}) {
    PieceReader r(bytes, PaneCodec::For(page), 7);
    TextPiece p;
    std::size_t at = 0;
    while (r.Next(p)) {
      ASSERT_EQ(p.begin, at);
      ASSERT_LE(p.end - p.begin, 7u);
      ASSERT_GT(p.next, p.begin);
      at = p.next;
    }
    EXPECT_EQ(at, bytes.size());
  }
}

}  // namespace
}  // namespace haruvi::systools
