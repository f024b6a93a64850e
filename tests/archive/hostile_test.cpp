// Archives made to write outside the chosen folder, to fill the disk, or to crash the
// reader: every one leaves the outside untouched, names what it refused, and leaves no
// staging folder or half-written file behind.
#include <gtest/gtest.h>

#include <random>

#include "archive/create.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::RawEntry;
using test::TempDir;

// A target folder with a sibling "outside" that no unpacking may touch.
struct Scene {
  TempDir dir;
  std::filesystem::path target = dir / "home/target";
  std::filesystem::path outside = dir / "home/outside";
  Scene() {
    std::filesystem::create_directories(target);
    std::filesystem::create_directories(outside);
    dir.Write("home/outside/keep.txt", "keep");
  }
  void ExpectOutsideUntouched() const {
    EXPECT_EQ(test::TreeOf(outside), std::set<std::string>{"keep.txt"});
    EXPECT_EQ(test::ReadFile(outside / "keep.txt"), "keep");
    EXPECT_EQ(test::TreeOf(dir / "home").count("evil"), 0u);
    for (const std::string& p : test::TreeOf(target)) EXPECT_EQ(p.find(".haruvi-unpack"), std::string::npos) << p;
  }
  UnpackResult Run(const std::vector<RawEntry>& entries, const std::string& format = "ustar") {
    const std::string path = (dir / "hostile.tar").string();
    test::WriteRawArchive(path, entries, format);
    return Unpack(path, target.string(), {});
  }
};

std::set<std::string> RefusedNames(const UnpackResult& r) {
  std::set<std::string> out;
  for (const RefusedEntry& e : r.refused) out.insert(e.name);
  return out;
}

TEST(Hostile, DotDotAndAbsoluteNamesAreRefusedAndTheRestUnpacks) {
  Scene s;
  const std::string abs = (s.outside / "abs.txt").string();
  const UnpackResult r = s.Run({{"../outside/evil.txt", "x"},
                                {"a/../../outside/evil2.txt", "x"},
                                {abs, "x"},
                                {"good.txt", "fine"}});
  EXPECT_EQ(r.code, kOk);
  EXPECT_EQ(RefusedNames(r).size(), 3u);
  EXPECT_EQ(test::ReadFile(s.target / "good.txt"), "fine");
  s.ExpectOutsideUntouched();
}

TEST(Hostile, SymbolicLinksLeadingOutAreRefusedAndNeverWrittenThrough) {
  Scene s;
  const UnpackResult r = s.Run({
      {"up", "", AE_IFLNK, ".."},                       // climbs out
      {"abs", "", AE_IFLNK, s.outside.string()},        // absolute target
      {"deep/link", "", AE_IFLNK, "../../outside"},     // climbs out from below
      {"inside", "", AE_IFLNK, "sub"},                  // fine: stays in
      {"sub/x.txt", "x"},
      {"up/evil.txt", "x"},                             // through the refused link
      {"inside/through.txt", "x"},                      // through a link made here
  });
  EXPECT_EQ(r.code, kOk) << r.detail;
  const std::set<std::string> refused = RefusedNames(r);
  EXPECT_TRUE(refused.count("up"));
  EXPECT_TRUE(refused.count("abs"));
  EXPECT_TRUE(refused.count("deep/link"));
  EXPECT_TRUE(refused.count("inside/through.txt"));
  EXPECT_FALSE(refused.count("inside"));
  EXPECT_TRUE(std::filesystem::is_symlink(s.target / "inside"));
  EXPECT_EQ(test::ReadFile(s.target / "sub/x.txt"), "x");
  EXPECT_EQ(test::ReadFile(s.target / "up/evil.txt"), "x");  // "up" became a real folder
  s.ExpectOutsideUntouched();
}

TEST(Hostile, LinksThroughEarlierLinksAreJudgedByWhereTheyLead) {
  // s -> . is harmless alone; t -> s/.. and u -> s/s/s/../.. count as inside when the
  // ".." are counted in the text, but lead to the target's parent on disk.
  Scene s;
  const UnpackResult r = s.Run({
      {"d", "", AE_IFDIR},
      {"s", "", AE_IFLNK, "."},
      {"t", "", AE_IFLNK, "s/.."},
      {"u", "", AE_IFLNK, "s/s/s/../.."},
      {"d/v", "", AE_IFLNK, "../s/../outside"},
      {"w", "", AE_IFLNK, "later/../.."},  // "later" could still become a link
      {"later", "", AE_IFLNK, "d/.."},      // the target itself: fine
      {"t/evil.txt", "x"},
      {"ok", "", AE_IFLNK, "s/s/d"},  // through links that stay inside: fine
      {"e/x", "", AE_IFLNK, "../s/.."},
  });
  EXPECT_EQ(r.code, kOk) << r.detail;
  EXPECT_EQ(RefusedNames(r), (std::set<std::string>{"t", "u", "d/v", "w", "e/x"}));
  EXPECT_TRUE(std::filesystem::is_symlink(s.target / "s"));
  EXPECT_TRUE(std::filesystem::is_symlink(s.target / "ok"));
  // Every link made resolves to a place inside the target.
  const std::string inside = std::filesystem::canonical(s.target).string();
  for (const std::string& p : test::TreeOf(s.target)) {
    if (!std::filesystem::is_symlink(s.target / p)) continue;
    std::error_code ec;
    const std::string real = std::filesystem::weakly_canonical(s.target / p, ec).string();
    EXPECT_EQ(real.rfind(inside, 0), 0u) << p << " -> " << real;
  }
  EXPECT_EQ(test::ReadFile(s.target / "t/evil.txt"), "x");  // "t" became a real folder
  EXPECT_FALSE(std::filesystem::exists(s.target / "e"));  // a refused link leaves no folder
  s.ExpectOutsideUntouched();
}

TEST(Hostile, LinksAreJudgedThroughTheTargetsOwnLinks) {
  // The target already holds a link of the user's leading out, and one going down: an
  // archive's link through the first is refused, through the second it is fine; with
  // overwrite, what follows a link the archive may replace may not climb.
  Scene s;
  std::filesystem::create_directories(s.target / "deep/er");
  std::filesystem::create_directory_symlink("../outside", s.target / "away");
  std::filesystem::create_directory_symlink("deep/er", s.target / "down");
  UnpackResult r = s.Run({{"a", "", AE_IFLNK, "away/keep.txt"}, {"b", "", AE_IFLNK, "down/../.."}});
  EXPECT_EQ(RefusedNames(r), (std::set<std::string>{"a"}));
  const std::string path = (s.dir / "over.tar").string();
  test::WriteRawArchive(path, {{"c", "", AE_IFLNK, "down/../x"}, {"down", "", AE_IFLNK, "."}});
  UnpackOptions overwrite;
  overwrite.overwrite = true;
  r = Unpack(path, s.target.string(), overwrite);
  EXPECT_EQ(RefusedNames(r), (std::set<std::string>{"c"}));
  EXPECT_EQ(std::filesystem::read_symlink(s.target / "down"), ".");
  s.ExpectOutsideUntouched();
}

TEST(Hostile, EntriesOfOneDiskNameAreAllKeptAndNamed) {
  // 表示.txt stored once in Shift_JIS and once in UTF-8 becomes one disk name; an entry
  // stored twice and two files flattened into one folder collide the same way.
  Scene s;
  const UnpackResult r = s.Run({{test::S("表示.txt"), "sjis"},
                                {"表示.txt", "utf-8"},
                                {"same", "first"},
                                {"same", "second"},
                                {"link", "", AE_IFREG, "", "same"}});
  EXPECT_EQ(r.code, kErrAlreadyExists) << r.detail;
  EXPECT_EQ(r.files, 5u);
  EXPECT_EQ(test::ReadFile(s.target / "表示.txt"), "sjis");
  EXPECT_EQ(test::ReadFile(s.target / "表示 (2).txt"), "utf-8");
  EXPECT_EQ(test::ReadFile(s.target / "same"), "first");
  EXPECT_EQ(test::ReadFile(s.target / "same (2)"), "second");
  EXPECT_EQ(test::ReadFile(s.target / "link"), "second");  // the name as last written
  ASSERT_EQ(r.renamed.size(), 2u);
  EXPECT_EQ(r.renamed[0].name, test::S("表示.txt"));
  EXPECT_EQ(r.renamed[0].kept_as, test::S("表示 (2).txt"));
  EXPECT_EQ(r.renamed[1].kept_as, "same (2)");

  const std::string path = (s.dir / "flat.tar").string();
  test::WriteRawArchive(path, {{"a/x.txt", "a"}, {"b/x.txt", "b"}});
  UnpackOptions flat;
  flat.ignore_folders = true;
  std::filesystem::create_directories(s.dir / "flat");
  EXPECT_EQ(Unpack(path, (s.dir / "flat").string(), flat).renamed.size(), 1u);
  EXPECT_EQ(test::ReadFile(s.dir / "flat/x.txt"), "a");
  EXPECT_EQ(test::ReadFile(s.dir / "flat/x (2).txt"), "b");
  s.ExpectOutsideUntouched();
}

TEST(Hostile, HardLinksReachOnlyFilesUnpackedBefore) {
  Scene s;
  const UnpackResult r = s.Run({
      {"real.txt", "content"},
      {"good_link", "", AE_IFREG, "", "real.txt"},
      {"out_link", "", AE_IFREG, "", "../outside/keep.txt"},
      {"abs_link", "", AE_IFREG, "", (s.outside / "keep.txt").string()},
      {"nothing_link", "", AE_IFREG, "", "not_there.txt"},
  });
  EXPECT_EQ(r.code, kOk);
  EXPECT_EQ(RefusedNames(r), (std::set<std::string>{"out_link", "abs_link", "nothing_link"}));
  EXPECT_EQ(test::ReadFile(s.target / "good_link"), "content");
  s.ExpectOutsideUntouched();
}

TEST(Hostile, DevicesFifosAndUnreadableNamesAreRefused) {
  Scene s;
  const UnpackResult r = s.Run({{"null", "", AE_IFCHR}, {"pipe", "", AE_IFIFO}, {"ok.txt", "ok"}});
  EXPECT_EQ(RefusedNames(r), (std::set<std::string>{"null", "pipe"}));
  EXPECT_EQ(test::TreeOf(s.target), std::set<std::string>{"ok.txt"});
  s.ExpectOutsideUntouched();
}

TEST(Hostile, AZeroBombStopsAtTheCapAndLeavesNothing) {
  Scene s;
  const std::string path = (s.dir / "bomb.zip").string();
  test::WriteRawArchive(path, {{"first.txt", "small"}, {"zeros", std::string(48u << 20, '\0')}}, "zip");
  EXPECT_LT(std::filesystem::file_size(path), 1u << 20);  // small on disk
  UnpackOptions opt;
  opt.ratio_floor = 4u << 20;
  opt.max_ratio = 200;
  const UnpackResult r = Unpack(path, s.target.string(), opt);
  EXPECT_EQ(r.code, kErrWrite);
  EXPECT_FALSE(r.detail.empty());
  EXPECT_TRUE(test::TreeOf(s.target).empty());  // not even the small first file
  opt = {};
  opt.max_total = 1u << 20;
  EXPECT_EQ(Unpack(path, s.target.string(), opt).code, kErrWrite);
  EXPECT_TRUE(test::TreeOf(s.target).empty());
  s.ExpectOutsideUntouched();
}

// A cut archive gives the files read whole before the cut and says so; the file the cut
// went through is never left half-written.
TEST(Hostile, TruncatedArchivesSayTheDamageAndKeepOnlyWholeFiles) {
  for (const char* format : {"lzh", "zip", "tgz", "bz2", "cab"}) {
    Scene s;
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i * 31 % 977) + "\n";
    s.dir.Write("src/a.txt", text);
    s.dir.Write("src/b.txt", text.substr(100));
    CreateFormat f;
    ASSERT_TRUE(ParseCreateFormat(format, &f));
    const std::string whole = (s.dir / "whole").string();
    ASSERT_EQ(CreateArchive(f, whole, {"src"}, s.dir.path().string()).code, kOk);
    const std::string bytes = test::ReadFile(whole);
    for (std::size_t cut = 1; cut < bytes.size(); cut += 997) {
      const std::string path = s.dir.Write("cut", bytes.substr(0, cut)).string();
      std::filesystem::remove_all(s.target);
      std::filesystem::create_directories(s.target);
      const UnpackResult r = Unpack(path, s.target.string(), {});
      ListArchive(path);  // must not crash either
      for (const std::string& p : test::TreeOf(s.target)) {
        if (std::filesystem::is_regular_file(s.target / p)) {
          EXPECT_EQ(test::ReadFile(s.target / p), test::ReadFile(s.dir / p)) << format << " " << cut << " " << p;
        }
      }
      if (r.code == kOk) continue;  // a cut after the last data (the end marks) may read whole
      EXPECT_FALSE(r.detail.empty()) << format << " " << cut;
      EXPECT_TRUE(r.damaged || test::TreeOf(s.target).empty()) << format << " " << cut;
    }
    s.ExpectOutsideUntouched();
  }
}

TEST(Hostile, ADamagedHeaderEndsTheReadingWithItsMessage) {
  Scene s;
  const std::string plain = (s.dir / "plain.tar").string();
  test::WriteRawArchive(plain, {{"first.txt", std::string(700, 'a')}, {"second.txt", "b"}, {"third.txt", "c"}});
  std::string tar = test::ReadFile(plain);
  tar[1536 + 1] ^= 0x01;  // the second header (after 512 + 1024 bytes) fails its checksum
  for (const std::string& bytes : {tar, test::Deflated(tar, 6, 31)}) {
    const std::string path = s.dir.Write("damaged", bytes).string();
    const Listing l = ListArchive(path);
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.error, "Damaged tar archive");
    ASSERT_EQ(l.entries.size(), 1u);  // what came before the damage
    EXPECT_EQ(l.entries[0].name, "first.txt");
    std::filesystem::remove_all(s.target);
    std::filesystem::create_directories(s.target);
    const UnpackResult r = Unpack(path, s.target.string(), {});
    EXPECT_EQ(r.code, kErrBrokenHeader);
    EXPECT_TRUE(r.damaged);
    EXPECT_TRUE(r.refused.empty());
    // What came before the damage is unpacked.
    EXPECT_EQ(test::TreeOf(s.target), std::set<std::string>{"first.txt"});
    EXPECT_EQ(test::ReadFile(s.target / "first.txt"), std::string(700, 'a'));
  }
  s.ExpectOutsideUntouched();
}

TEST(Hostile, RandomBytesAreNoArchive) {
  Scene s;
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::string junk(static_cast<std::size_t>(rng() % 4000), '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    // Half of them wear an archive's first bytes.
    if (round % 2) junk.replace(0, std::min<std::size_t>(junk.size(), 7), std::string("PK\x03\x04-lh", 7));
    const std::string path = s.dir.Write("junk.lzh", junk).string();
    const UnpackResult r = Unpack(path, s.target.string(), {});
    EXPECT_NE(r.code, kOk);
    EXPECT_FALSE(r.detail.empty());
    ListArchive(path);
  }
  EXPECT_TRUE(test::TreeOf(s.target).empty());
  s.ExpectOutsideUntouched();
}

TEST(Unpack, ExistingFilesAreKeptUnlessOverwriteAndFoldersMerge) {
  Scene s;
  s.dir.Write("home/target/dir/old.txt", "old");
  s.dir.Write("home/target/same.txt", "mine");
  const std::string path = (s.dir / "a.tar").string();
  test::WriteRawArchive(path, {{"dir/new.txt", "new"}, {"same.txt", "theirs"}});
  UnpackResult r = Unpack(path, s.target.string(), {});
  EXPECT_EQ(r.code, kErrAlreadyExists);
  EXPECT_EQ(r.kept, std::vector<std::string>{"same.txt"});
  EXPECT_EQ(test::ReadFile(s.target / "same.txt"), "mine");
  EXPECT_EQ(test::ReadFile(s.target / "dir/old.txt"), "old");
  EXPECT_EQ(test::ReadFile(s.target / "dir/new.txt"), "new");
  UnpackOptions overwrite;
  overwrite.overwrite = true;
  r = Unpack(path, s.target.string(), overwrite);
  EXPECT_EQ(r.code, kOk);
  EXPECT_EQ(test::ReadFile(s.target / "same.txt"), "theirs");
}

TEST(Unpack, AFolderLinkInTheTargetIsNotEntered) {
  // The user's own link to elsewhere inside the target is not merged into.
  Scene s;
  std::filesystem::create_directory_symlink(s.outside, s.target / "dir");
  const std::string path = (s.dir / "a.tar").string();
  test::WriteRawArchive(path, {{"dir/evil.txt", "x"}});
  const UnpackResult r = Unpack(path, s.target.string(), {});
  EXPECT_EQ(r.kept, std::vector<std::string>{"dir"});
  EXPECT_EQ(test::TreeOf(s.outside), std::set<std::string>{"keep.txt"});
}

TEST(Unpack, FlatModeDropsTheFolders) {
  Scene s;
  const std::string path = (s.dir / "a.tar").string();
  test::WriteRawArchive(path, {{"a/b/c.txt", "c"}, {"d.txt", "d"}});
  UnpackOptions flat;
  flat.ignore_folders = true;
  ASSERT_EQ(Unpack(path, s.target.string(), flat).code, kOk);
  EXPECT_EQ(test::TreeOf(s.target), (std::set<std::string>{"c.txt", "d.txt"}));
}

}  // namespace
}  // namespace haruvi::archive
