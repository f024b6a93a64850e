// RAR 4.x archives of stored entries (written by the tests' own writer) list and unpack
// through the core and through the RAR library of the component, CP932 names included;
// a damaged one fails with a message and leaves nothing behind.
#include <gtest/gtest.h>

#include "archive/archive_file.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "rar4_writer.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::RarEntry;
using test::S;
using test::TempDir;

std::vector<RarEntry> Sample() {
  std::string big;
  for (int i = 0; big.size() < 300000; ++i) big += "row " + std::to_string(i) + "\r\n";
  return {{"docs", "", true},
          {"docs\\readme.txt", "hello from a stored entry\r\n"},
          {S("docs\\日本語.txt"), S("日本語の本文\r\n")},
          {"big.txt", big},
          {"empty.txt", ""}};
}

TEST(Rar, StoredEntriesListWithTheirNamesAndSizes) {
  TempDir dir;
  const std::string path = dir.Write("s.rar", test::RarArchive(Sample())).string();
  const Listing l = ListArchive(path);
  ASSERT_TRUE(l.ok) << l.error;
  EXPECT_EQ(l.family, ArchiveFamily::kRar);
  ASSERT_EQ(l.entries.size(), 5u);
  EXPECT_EQ(l.entries[0].kind, EntryKind::kFolder);
  EXPECT_EQ(l.entries[1].name, "docs/readme.txt");
  EXPECT_EQ(NameCodec::ToPane(l.entries[2].name), S("docs/日本語.txt"));
  EXPECT_EQ(l.entries[3].size, Sample()[3].data.size());
  EXPECT_EQ(l.entries[3].method, "rar");
  const std::string text = FormatListing("s.rar", l.entries);
  EXPECT_NE(text.find(S("+ 日本語.txt")), std::string::npos) << text;
  EXPECT_NE(text.find("     5 files"), std::string::npos) << text;
}

TEST(Rar, StoredEntriesUnpackByteForByte) {
  TempDir dir;
  const std::string path = dir.Write("s.rar", test::RarArchive(Sample())).string();
  const std::filesystem::path target = dir / "out";
  std::filesystem::create_directories(target);
  const UnpackResult r = Unpack(path, target.string(), {});
  ASSERT_EQ(r.code, kOk) << r.detail;
  EXPECT_TRUE(r.refused.empty());
  EXPECT_EQ(test::ReadFile(target / "docs/readme.txt"), "hello from a stored entry\r\n");
  EXPECT_EQ(test::ReadFile(target / "docs/日本語.txt"), S("日本語の本文\r\n"));
  EXPECT_EQ(test::ReadFile(target / "big.txt"), Sample()[3].data);
  EXPECT_EQ(test::ReadFile(target / "empty.txt"), "");
}

TEST(Rar, Cp932SecondBytesLikeABackslashStayInTheirCharacters) {
  TempDir dir;
  // "ソ" and "表" end in the byte of "\\"; the real separators are "\\" too.
  const std::string path =
      dir.Write("k.rar", test::RarArchive({{S("ソフト\\表.txt"), "table"}, {S("ソフト\\docs\\a.txt"), "a"}})).string();
  const Listing l = ListArchive(path);
  ASSERT_TRUE(l.ok) << l.error;
  ASSERT_EQ(l.entries.size(), 2u);
  EXPECT_EQ(l.entries[0].name, "ソフト/表.txt");
  EXPECT_EQ(NameCodec::ToPane(l.entries[1].name), S("ソフト/docs/a.txt"));
  const std::filesystem::path target = dir / "out";
  std::filesystem::create_directories(target);
  ASSERT_EQ(Unpack(path, target.string(), {}).code, kOk);
  EXPECT_EQ(test::TreeOf(target), (std::set<std::string>{"ソフト", "ソフト/表.txt", "ソフト/docs", "ソフト/docs/a.txt"}));
  EXPECT_EQ(test::ReadFile(target / "ソフト/表.txt"), "table");
}

TEST(Rar, ThroughTheUnrar32LibraryOfTheComponent) {
  TempDir dir;
  const std::string path = dir.Write("c.rar", test::RarArchive(Sample())).string();
  TArchiveFile f;
  f.SetFileName(path);
  EXPECT_EQ(f.ArchiverType(), TArchiverType::atRar);
  ASSERT_NE(f.OpenArchive(nullptr, 0), nullptr);
  HaruviIndividualInfo info;
  std::vector<std::string> names;
  for (int got = f.FindFirst("*.*", &info); got == 0; got = f.FindNext(&info)) {
    names.emplace_back(info.file_name);
    if (names.back() == "big.txt") {
      EXPECT_EQ(info.original_size, Sample()[3].data.size());
      EXPECT_STREQ(info.method, "rar");
      EXPECT_STREQ(info.attribute, "-rw-");
    }
  }
  f.CloseArchive();
  EXPECT_EQ(names, (std::vector<std::string>{"docs", "docs/readme.txt", S("docs/日本語.txt"), "big.txt", "empty.txt"}));
  f.Options.Set("x", 1);
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "via").string()), 0) << f.GetOutput();
  EXPECT_EQ(test::ReadFile(dir / "via" / "docs/日本語.txt"), S("日本語の本文\r\n"));
  EXPECT_EQ(TArchiveFile::DetectByContent(path), TArchiverType::atRar);
}

TEST(Rar, DamagedArchivesSayTheDamageAndKeepOnlyWholeFiles) {
  TempDir dir;
  const std::string whole = test::RarArchive(Sample());
  // A header that no longer matches its CRC16, and cuts everywhere. (The data's CRC-32
  // of a stored entry is not checked by libarchive.)
  std::vector<std::pair<std::string, std::string>> cases;
  std::string bad = whole;
  bad[7 + 13 + 2] ^= 0x01;  // the first file header's flags
  cases.emplace_back("header", bad);
  for (std::size_t cut = 20; cut < whole.size(); cut += whole.size() / 9)
    cases.emplace_back("cut" + std::to_string(cut), whole.substr(0, cut));
  const std::string whole_path = dir.Write("whole.rar", whole).string();
  std::filesystem::create_directories(dir / "whole");
  ASSERT_EQ(Unpack(whole_path, (dir / "whole").string(), {}).code, kOk);
  for (const auto& [name, bytes] : cases) {
    const std::string path = dir.Write(name + ".rar", bytes).string();
    const std::filesystem::path target = dir / ("out-" + name);
    std::filesystem::create_directories(target);
    const UnpackResult r = Unpack(path, target.string(), {});
    EXPECT_NE(r.code, kOk) << name;
    EXPECT_FALSE(r.detail.empty()) << name;
    // Only the files read whole before the damage.
    EXPECT_TRUE(r.damaged || test::TreeOf(target).empty()) << name;
    for (const std::string& p : test::TreeOf(target)) {
      if (std::filesystem::is_regular_file(target / p)) {
        EXPECT_EQ(test::ReadFile(target / p), test::ReadFile(dir / "whole" / p)) << name << " " << p;
      }
    }
    const Listing l = ListArchive(path);
    if (!l.ok) {
      EXPECT_FALSE(l.error.empty()) << name;
    }
  }
}

}  // namespace
}  // namespace haruvi::archive
