// haruvi-tool archive: create, list and unpack on the command line; a refused entry is
// named on standard error and the exit code tells it from a clean run and a failure.
#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "support/run_process.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi {
namespace {

using test::RunTool;
using test::TempDir;

TEST(ArchiveTool, CreateListUnpack) {
  TempDir dir;
  dir.Write("in/a.txt", "alpha");
  dir.Write("in/sub/b.txt", "beta");
  const std::string lzh = (dir / "t.lzh").string();
  const test::ProcessResult made = RunTool({"archive", "create", "lzh", lzh, (dir / "in").string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  const test::ProcessResult list = RunTool({"archive", "list", lzh});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  EXPECT_NE(list.out.find("+ b.txt"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("     4 files"), std::string::npos) << list.out;  // two folders, two files
  std::filesystem::create_directories(dir / "out");
  const test::ProcessResult un = RunTool({"archive", "unpack", lzh, (dir / "out").string()});
  ASSERT_EQ(un.exit_code, 0) << un.err;
  const std::string stored = (dir / "in").string().substr(1);  // the leading "/" is dropped
  EXPECT_EQ(test::ReadFile(dir / "out" / stored / "sub/b.txt"), "beta");
}

TEST(ArchiveTool, RefusedEntriesAreNamedAndTheExitCodeSaysSo) {
  TempDir dir;
  const std::string tar = (dir / "h.tar").string();
  test::WriteRawArchive(tar, {{"../escape.txt", "x"}, {"fine.txt", "y"}});
  std::filesystem::create_directories(dir / "out");
  const test::ProcessResult r = RunTool({"archive", "unpack", tar, (dir / "out").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("refused ../escape.txt"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "escape.txt"));
  EXPECT_EQ(test::ReadFile(dir / "out/fine.txt"), "y");
}

TEST(ArchiveTool, TwoEntriesOfOneDiskNameAreBothUnpackedAndTheRenamedOneNamed) {
  TempDir dir;
  const std::string tar = (dir / "c.tar").string();
  test::WriteRawArchive(tar, {{test::S("表示.txt"), "sjis"}, {"表示.txt", "utf-8"}});
  std::filesystem::create_directories(dir / "out");
  const test::ProcessResult r = RunTool({"archive", "unpack", tar, (dir / "out").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("2 files"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find(test::S("unpacked 表示.txt as 表示 (2).txt")), std::string::npos) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "out/表示.txt"), "sjis");
  EXPECT_EQ(test::ReadFile(dir / "out/表示 (2).txt"), "utf-8");
}

TEST(ArchiveTool, TheTotalCountsWrittenFilesAndADamagedArchiveGivesWhatWasRead) {
  TempDir dir;
  dir.Write("in/a.txt", "alpha");
  dir.Write("in/b.txt", "beta");
  const std::string tgz = (dir / "x.tgz").string();
  ASSERT_EQ(test::RunProcess("/usr/bin/tar", {"czf", tgz, "-C", (dir / "in").string(), "."}).exit_code, 0);
  std::filesystem::create_directories(dir / "out");
  const test::ProcessResult first = RunTool({"archive", "unpack", tgz, (dir / "out").string()});
  EXPECT_EQ(first.exit_code, 0) << first.err;  // "./" is the target, no escape
  EXPECT_NE(first.out.find("2 files"), std::string::npos) << first.out;
  // Again: both kept, none written.
  const test::ProcessResult again = RunTool({"archive", "unpack", tgz, (dir / "out").string()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.out.find("0 files"), std::string::npos) << again.out;
  EXPECT_NE(again.err.find("kept the existing a.txt"), std::string::npos) << again.err;
  // A tar cut inside its second file: the first is unpacked, the damage named.
  std::string tar;
  {
    const std::string path = (dir / "t.tar").string();
    test::WriteRawArchive(path, {{"first.txt", "1"}, {"second.txt", std::string(5000, '2')}});
    tar = test::ReadFile(path).substr(0, 512 * 3 + 1000);
  }
  const std::string cut = dir.Write("cut.tar", tar).string();
  const test::ProcessResult list = RunTool({"archive", "list", cut});
  EXPECT_EQ(list.exit_code, 3);
  EXPECT_NE(list.out.find("first.txt"), std::string::npos) << list.out;
  EXPECT_NE(list.err.find("cut.tar: "), std::string::npos) << list.err;
  std::filesystem::create_directories(dir / "cut");
  const test::ProcessResult un = RunTool({"archive", "unpack", cut, (dir / "cut").string()});
  EXPECT_EQ(un.exit_code, 3);
  EXPECT_NE(un.err.find("the entries before the damage were unpacked"), std::string::npos) << un.err;
  EXPECT_NE(un.out.find("1 files"), std::string::npos) << un.out;
  EXPECT_EQ(test::TreeOf(dir / "cut"), std::set<std::string>{"first.txt"});
}

TEST(ArchiveTool, FailuresAndMisuse) {
  TempDir dir;
  const std::string junk = dir.Write("junk.zip", "not an archive at all").string();
  EXPECT_EQ(RunTool({"archive", "list", junk}).exit_code, 3);
  const test::ProcessResult un = RunTool({"archive", "unpack", junk, dir.path().string()});
  EXPECT_EQ(un.exit_code, 3);
  EXPECT_NE(un.err.find("junk.zip"), std::string::npos);
  EXPECT_EQ(RunTool({"archive", "create", "rar", (dir / "x.rar").string(), junk}).exit_code, 2);
  EXPECT_EQ(RunTool({"archive", "bogus"}).exit_code, 2);
  EXPECT_EQ(RunTool({"archive"}).exit_code, 2);
}

}  // namespace
}  // namespace haruvi
