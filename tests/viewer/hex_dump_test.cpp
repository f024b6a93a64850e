// The hexadecimal renderings: labels by line number, partial and empty last lines, the
// digit lines under each line, and a cancel that keeps what was done.
#include "viewer/hex_dump.h"

#include <gtest/gtest.h>

#include <random>

#include "support/sjis.h"

namespace haruvi::viewer {
namespace {

const std::string kHeader =
    "INFO\r\n\r\n00000000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
    "-------- : -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\r\n";

TEST(HexDump, LinesOfSixteenLabelledByNumber) {
  EXPECT_EQ(DumpBytes("", "INFO").text, kHeader + "00000001 : \r\n");  // an empty file: the label alone
  const std::string sixteen = "MZ" + std::string(14, '\0');
  EXPECT_EQ(DumpBytes(sixteen, "INFO").text,
            kHeader + "00000001 : 4D 5A 00 00 00 00 00 00 00 00 00 00 00 00 00 00 \r\n");  // one line, no extra
  const std::string d17 = DumpBytes(std::string(17, '\xff'), "INFO").text;
  EXPECT_EQ(d17.substr(kHeader.size() + 61), "00000002 : FF \r\n");
  const std::string big = DumpBytes(std::string(16 * 17, 'a'), "INFO").text;
  EXPECT_NE(big.find("\r\n00000011 : 61 "), std::string::npos);  // the 17th line is labelled 11
  EXPECT_EQ(big.size(), kHeader.size() + 17 * 61);
}

TEST(HexDump, DigitLinesStandUnderEachByte) {
  EXPECT_EQ(DumpUnderLines("AB", "INFO").text, "INFO\r\n\r\nAB\r\n44\r\n12\r\n");
  EXPECT_EQ(DumpUnderLines("", "INFO").text, "INFO\r\n\r\n");
  EXPECT_EQ(DumpUnderLines("\x82\xa0\r\nx\ry\n", "I").text,
            "I\r\n\r\n\x82\xa0\r\n8A\r\n20\r\nx\r\n7\r\n8\r\ny\r\n7\r\n9\r\n");
}

TEST(HexDump, ACancelKeepsWhatWasDoneAndSaysSo) {
  int asked = 0;
  const HexDump d = DumpBytes(std::string(16 * 10000 + 5, 'a'), "INFO", [&] { return ++asked >= 2; });
  EXPECT_TRUE(d.cancelled);
  EXPECT_TRUE(d.text.ends_with(test::S("中断しました！") + "\r\n"));
  EXPECT_NE(d.text.find("00001FFF : "), std::string::npos);   // lines before the stop stay
  EXPECT_EQ(d.text.find("00002710 : "), std::string::npos);  // the last line never came
  std::string many;
  for (int i = 0; i < 10000; ++i) many += "line\r\n";
  const HexDump u = DumpUnderLines(many, "INFO", [] { return true; });
  EXPECT_TRUE(u.cancelled);
  EXPECT_TRUE(u.text.ends_with(test::S("中断しました！") + "\r\n"));
}

TEST(HexDump, InPiecesItIsTheSameTextWhateverTheCuts) {
  std::mt19937 rng(3);
  for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 4096u * 16u + 7u, 70001u}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    for (int cuts = 0; cuts < 4; ++cuts) {
      ByteDumper dumper("INFO");
      std::string out;
      for (std::size_t at = 0; at < size;) {
        const std::size_t piece = std::min<std::size_t>(size - at, cuts == 0 ? size : 1 + rng() % (cuts * 20));
        dumper.Feed(std::string_view(bytes).substr(at, piece), &out);
        at += piece;
      }
      if (cuts == 3) dumper.Feed({}, &out);  // an empty piece changes nothing
      dumper.Finish(&out);
      ASSERT_EQ(out, DumpBytes(bytes, "INFO").text) << size << " bytes, cuts " << cuts;
    }
  }
}

}  // namespace
}  // namespace haruvi::viewer
