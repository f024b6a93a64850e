// The listing texts: the "+" mark and the 12-column short name, the whole name at the
// end, the sums, an empty archive, and names cut without splitting a character.
#include <gtest/gtest.h>

#include "archive/listing.h"
#include "support/sjis.h"

namespace haruvi::archive {
namespace {

using test::S;

Entry Make(const std::string& name, std::uint64_t size, std::uint64_t packed) {
  Entry e;
  e.name = name;
  e.size = size;
  e.packed = packed;
  e.mode = 0644;
  e.method = "-lh5-";
  e.crc = 0xBEEF;
  e.has_crc = true;
  e.mtime = 0;
  return e;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t j = text.find("\r\n", i);
    out.push_back(text.substr(i, j - i));
    i = j + 2;
  }
  return out;
}

TEST(Listing, NamesInFoldersAreMarkedAndCutTo12Columns) {
  const std::vector<Entry> entries = {Make("a/b/readme.txt", 1000, 400), Make("a_very_long_file_name.txt", 10, 10)};
  const std::vector<std::string> lines = Lines(FormatListing("x.lzh", entries));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Listing of archive : x.lzh");
  EXPECT_EQ(lines[3], "  Name            Original    Packed    Ratio   Date     Time   Attr Type  CRC");
  EXPECT_EQ(lines[4], "--------------  ----------  ---------- ------ -------- -------- ---- ----- ----");
  EXPECT_EQ(lines[5].substr(0, 46), "+ readme.txt          1000         400  40.0% ");
  EXPECT_NE(lines[5].find("-rw- -lh5- BEEF a/b/readme.txt "), std::string::npos);
  EXPECT_EQ(lines[6].substr(0, 16), "  a_very_long_  ");
  EXPECT_EQ(lines[6].substr(lines[6].size() - 27), " a_very_long_file_name.txt ");
  EXPECT_EQ(lines[7], lines[4]);
  EXPECT_EQ(lines[8], "     2 files          1010         410  40.6%");
}

TEST(Listing, AnEmptyArchiveShowsZeroFiles) {
  const std::vector<std::string> lines = Lines(FormatListing("e.zip", {}));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5], lines[4]);
  EXPECT_EQ(lines[6], "     0 files             0           0   0.0%");
}

TEST(Listing, ADoubleByteCharacterIsNeverSplitAtTheCut) {
  // 11 ASCII bytes, then a two-byte character that would straddle column 12.
  const std::vector<std::string> lines = Lines(FormatListing("j", {Make("abcdefghijk" + std::string("日本"), 1, 1)}));
  const std::string shown = lines[5].substr(2, 12);
  EXPECT_EQ(shown, "abcdefghijk ");
  EXPECT_NE(lines[5].find(S("abcdefghijk日本")), std::string::npos);
}

TEST(Listing, SumsBeyond32BitsStayRight) {
  const std::vector<std::string> lines =
      Lines(FormatListing("big", {Make("a", 3'000'000'000ull, 1'000'000'000ull), Make("b", 3'000'000'000ull, 0)}));
  EXPECT_NE(lines[5].find("3000000000  1000000000  33.3%"), std::string::npos);
  EXPECT_EQ(lines[8], "     2 files    6000000000  1000000000  16.7%");
}

TEST(Listing, VerboseShowsEachFullNameOnItsOwnLine) {
  const std::vector<std::string> lines = Lines(FormatVerboseListing("v", {Make("folder/a_long_name.txt", 5, 5)}));
  EXPECT_EQ(lines[5], "folder/a_long_name.txt");
  EXPECT_EQ(lines[6].substr(0, 26), std::string(25, ' ') + "5");
}

TEST(Listing, RatioAndAttributes) {
  EXPECT_EQ(RatioPerMille(0, 0), 0);
  EXPECT_EQ(RatioPerMille(1000, 366), 366);
  EXPECT_EQ(RatioPerMille(1, 1000000), 99999);
  Entry folder = Make("d/", 0, 0);
  folder.kind = EntryKind::kFolder;
  folder.mode = 0755;
  EXPECT_EQ(AttributeText(folder), "drwx");
  Entry ro = Make("r", 0, 0);
  ro.mode = 0444;
  EXPECT_EQ(AttributeText(ro), "-r--");
}

}  // namespace
}  // namespace haruvi::archive
