// The Shift_JIS boundary rule every core splits text by: the edges of the lead and trail
// ranges, and characters at the end of a text.
#include "encoding/sjis_char.h"

#include <gtest/gtest.h>

#include <string>

namespace haruvi::encoding {
namespace {

// Usable where scanners build their tables at compile time.
static_assert(IsLeadByte(0x81) && !IsLeadByte(0x80));
static_assert(CharLength("\x88\x9F", 0) == 2);

TEST(SjisChar, LeadAndTrailRangesEndWhereCodePage932EndsThem) {
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << std::hex << b;
  }
  struct {
    unsigned char b;
    bool trail;
  } const trails[] = {{0x3F, false}, {0x40, true}, {0x7E, true}, {0x7F, false}, {0x80, true},
                      {0xA0, true},  {0xFC, true}, {0xFD, false}, {0x00, false}, {0x0A, false}};
  for (const auto& t : trails) EXPECT_EQ(IsTrailByte(t.b), t.trail) << std::hex << int{t.b};
}

TEST(SjisChar, CharLengthKeepsPairsWholeAndNeverReadsPastTheEnd) {
  const std::string s = "a\x82\xA0\x81\x40\xB1\x0A\xFC";  // a, あ, full-width space, ｱ, LF, lone lead
  const std::size_t expected[] = {1, 2, 0, 2, 0, 1, 1, 1};
  for (std::size_t pos = 0; pos < s.size(); pos += CharLength(s, pos))
    EXPECT_EQ(CharLength(s, pos), expected[pos]) << pos;
  // Any byte follows a lead byte, even one that is no trail byte: the pair stays whole.
  EXPECT_EQ(CharLength("\x82\x0A", 0), 2u);
  EXPECT_EQ(CharLength("\x82", 0), 1u);
}

}  // namespace
}  // namespace haruvi::encoding
