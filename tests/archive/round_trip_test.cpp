// Create, list and unpack for every format we write; Japanese names in UTF-8, CP932 and
// EUC archives; updating an LZH archive; replacing an old archive only on success.
#include <gtest/gtest.h>

#include <map>

#include "archive/create.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/run_process.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::S;
using test::TempDir;

// A small tree with a Japanese name, a nested file, an empty file and an empty folder.
void MakeTree(const TempDir& dir) {
  dir.Write("src/readme.txt", "hello\r\n");
  dir.Write("src/日本語.txt", S("日本語の本文"));
  dir.Write("src/a/b/deep.bin", std::string(100000, '\x01') + "end");
  dir.Write("src/empty", "");
  std::filesystem::create_directories(dir / "src/hollow");
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, CreateListUnpackGivesTheSameFiles) {
  TempDir dir;
  MakeTree(dir);
  CreateFormat format;
  ASSERT_TRUE(ParseCreateFormat(GetParam(), &format));
  const std::string archive = (dir / (std::string("out.") + GetParam())).string();
  const CreateResult made = CreateArchive(format, archive, {"src"}, dir.path().string());
  ASSERT_EQ(made.code, kOk) << made.detail;
  EXPECT_TRUE(made.skipped.empty());

  const Listing listing = ListArchive(archive);
  ASSERT_TRUE(listing.ok) << listing.error;
  std::map<std::string, std::uint64_t> sizes;
  for (const Entry& e : listing.entries) sizes[e.name] = e.size;
  EXPECT_EQ(sizes["src/日本語.txt"], S("日本語の本文").size());
  EXPECT_EQ(sizes["src/a/b/deep.bin"], 100003u);

  std::filesystem::create_directories(dir / "out");
  const UnpackResult r = Unpack(archive, (dir / "out").string(), {});
  ASSERT_EQ(r.code, kOk) << r.detail;
  EXPECT_TRUE(r.refused.empty());
  EXPECT_EQ(test::ReadFile(dir / "out/src/readme.txt"), "hello\r\n");
  EXPECT_EQ(test::ReadFile(dir / "out/src/日本語.txt"), S("日本語の本文"));
  EXPECT_EQ(test::ReadFile(dir / "out/src/a/b/deep.bin"), std::string(100000, '\x01') + "end");
  EXPECT_TRUE(std::filesystem::exists(dir / "out/src/empty"));
  // Nothing of the staging folder is left behind.
  for (const std::string& p : test::TreeOf(dir / "out")) EXPECT_EQ(p.find(".haruvi-unpack"), std::string::npos) << p;
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, ::testing::Values("lzh", "zip", "tar", "tgz", "bz2", "cab"));

TEST(Listing, ZipEntriesCarryPackedSizesAndCrcsOfTheCentralDirectory) {
  TempDir dir;
  dir.Write("z/big.txt", std::string(100000, 'q'));
  const std::string zip = (dir / "c.zip").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kZip, zip, {"z"}, dir.path().string()).code, kOk);
  const Listing l = ListArchive(zip);
  ASSERT_EQ(l.entries.size(), 2u);
  const Entry& big = l.entries[1];
  EXPECT_GT(big.packed, 0u);
  EXPECT_LT(big.packed, 1000u);
  EXPECT_TRUE(big.has_crc);
  EXPECT_NE(big.crc, 0u);
  EXPECT_EQ(big.method, "defl");
}

TEST(Names, ZipNamesAreFlaggedUtf8AndLzhNamesAreCp932) {
  TempDir dir;
  dir.Write("日本.txt", "x");
  const std::string zip = (dir / "n.zip").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kZip, zip, {"日本.txt"}, dir.path().string()).code, kOk);
  const std::string bytes = test::ReadFile(zip);
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_TRUE(static_cast<unsigned char>(bytes[7]) & 0x08);  // general-purpose flag bit 11
  EXPECT_NE(bytes.find("日本.txt"), std::string::npos);
  const std::string lzh = (dir / "n.lzh").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kLzh, lzh, {"日本.txt"}, dir.path().string()).code, kOk);
  EXPECT_NE(test::ReadFile(lzh).find(S("日本.txt")), std::string::npos);
}

TEST(Names, Cp932AndEucNamesOfOldArchivesDecode) {
  TempDir dir;
  const std::string sjis = (dir / "sjis.tar").string();
  test::WriteRawArchive(sjis, {{S("表示/ソース.txt"), "a"}, {S("十進.txt"), "b"}});
  const std::string euc = (dir / "euc.tar").string();
  // EUC-JP bytes of "日本語/漢字.txt" and "かな.txt".
  test::WriteRawArchive(euc, {{"\xC6\xFC\xCB\xDC\xB8\xEC/\xB4\xC1\xBB\xFA.txt", "c"}, {"\xA4\xAB\xA4\xCA.txt", "d"}});

  const Listing a = ListArchive(sjis);
  ASSERT_EQ(a.entries.size(), 2u);
  // "表" ends in 0x5C, which must not be taken for a Windows separator.
  EXPECT_EQ(a.entries[0].name, "表示/ソース.txt");
  EXPECT_EQ(a.entries[1].name, "十進.txt");
  const Listing b = ListArchive(euc);
  ASSERT_EQ(b.entries.size(), 2u);
  EXPECT_EQ(b.entries[0].name, "日本語/漢字.txt");
  EXPECT_EQ(b.entries[1].name, "かな.txt");
  // The listing shows them in the pane's CP932.
  EXPECT_NE(FormatListing("euc.tar", b.entries).find(S("漢字.txt")), std::string::npos);

  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(Unpack(euc, (dir / "out").string(), {}).code, kOk);
  EXPECT_EQ(test::ReadFile(dir / "out/日本語/漢字.txt"), "c");
}

TEST(Names, WindowsBackslashesSeparateFolders) {
  TempDir dir;
  const std::string zip = (dir / "w.zip").string();
  test::WriteRawArchive(zip, {{"dir\\file.txt", "x"}}, "zip");
  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(Unpack(zip, (dir / "out").string(), {}).code, kOk);
  EXPECT_EQ(test::ReadFile(dir / "out/dir/file.txt"), "x");
}

TEST(Create, UpdateKeepsTheOtherEntriesAndReplacesTheSameName) {
  TempDir dir;
  dir.Write("a.txt", "first a");
  dir.Write("b.txt", "b");
  const std::string lzh = (dir / "u.lzh").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kLzh, lzh, {"a.txt", "b.txt"}, dir.path().string()).code, kOk);
  dir.Write("a.txt", "second a");
  dir.Write("c.txt", "c");
  CreateOptions update;
  update.update = true;
  ASSERT_EQ(CreateArchive(CreateFormat::kLzh, lzh, {"a.txt", "c.txt"}, dir.path().string(), update).code, kOk);
  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(Unpack(lzh, (dir / "out").string(), {}).code, kOk);
  EXPECT_EQ(test::ReadFile(dir / "out/a.txt"), "second a");
  EXPECT_EQ(test::ReadFile(dir / "out/b.txt"), "b");
  EXPECT_EQ(test::ReadFile(dir / "out/c.txt"), "c");
}

TEST(Create, AFailedCreationLeavesTheOldArchiveAndNoTemporaryFile) {
  TempDir dir;
  dir.Write("a.txt", "a");
  const std::string zip = (dir / "keep.zip").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kZip, zip, {"a.txt"}, dir.path().string()).code, kOk);
  const std::string before = test::ReadFile(zip);
  const CreateResult r = CreateArchive(CreateFormat::kZip, zip, {"missing.txt"}, dir.path().string());
  EXPECT_EQ(r.code, kErrNoFile);
  EXPECT_EQ(test::ReadFile(zip), before);
  EXPECT_EQ(test::TreeOf(dir.path()), (std::set<std::string>{"a.txt", "keep.zip"}));
}

TEST(Create, SkipsWhatCannotBePackedAndSaysWhy) {
  TempDir dir;
  dir.Write("a.txt", "a");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::string tar = (dir / "s.tar").string();
  ASSERT_EQ(CreateArchive(CreateFormat::kTar, tar, {"a.txt"}, dir.path().string()).code, kOk);
  const CreateResult r = CreateArchive(CreateFormat::kTar, tar, {"a.txt", "fifo", "../x", "s.tar"}, dir.path().string());
  ASSERT_EQ(r.code, kOk) << r.detail;
  EXPECT_EQ(r.added, std::vector<std::string>{"a.txt"});
  ASSERT_EQ(r.skipped.size(), 2u);  // the FIFO and "..": the archive itself is passed over
  EXPECT_EQ(r.skipped[0].first, "fifo");
  EXPECT_EQ(r.skipped[1].first, "../x");
}

TEST(Create, FormatFollowsTheExtension) {
  CreateFormat f;
  EXPECT_TRUE(FormatForName("x.ZIP", &f));
  EXPECT_EQ(f, CreateFormat::kZip);
  EXPECT_TRUE(FormatForName("x.tar.gz", &f));
  EXPECT_EQ(f, CreateFormat::kTgz);
  EXPECT_TRUE(FormatForName("x.Lzh", &f));
  EXPECT_EQ(f, CreateFormat::kLzh);
  EXPECT_FALSE(FormatForName("x.arj", &f));
  EXPECT_FALSE(FormatForName("x", &f));
}

TEST(Cab, CabinetsMadeByGcabListAndUnpack) {
  TempDir dir;
  dir.Write("one.txt", "first");
  dir.Write("two.txt", std::string(50000, 'z'));
  const std::string cab = (dir / "g.cab").string();
  const test::ProcessResult made = test::RunProcess("/usr/bin/gcab", {"-c", "-z", "-n", cab, (dir / "one.txt").string(),
                                                                      (dir / "two.txt").string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  const Listing l = ListArchive(cab);
  ASSERT_TRUE(l.ok) << l.error;
  ASSERT_EQ(l.entries.size(), 2u);
  EXPECT_EQ(l.entries[1].size, 50000u);
  std::filesystem::create_directories(dir / "out");
  ASSERT_EQ(Unpack(cab, (dir / "out").string(), {}).code, kOk);
  EXPECT_EQ(test::ReadFile(dir / "out/one.txt"), "first");
  EXPECT_EQ(test::ReadFile(dir / "out/two.txt"), std::string(50000, 'z'));
}

}  // namespace
}  // namespace haruvi::archive
