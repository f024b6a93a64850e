// Which operations flush to disk: only those that give up an old state (a replaced
// file, a source moved off its file system, the trash's restore records); a copy to a
// free name, a move by rename and a permanent delete leave it to writeback.
#include "fileops/flush.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "file_op_ui.h"
#include "fileops/shfop.h"
#include "fileops/split_merge.h"
#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

using test::ReadFile;
using test::MakeOp;
using test::TempDir;
namespace fs = std::filesystem;

// Flushes made while `run` runs.
template <typename Run>
FlushCounts Counted(Run run) {
  const FlushCounts before = FlushesSoFar();
  run();
  const FlushCounts after = FlushesSoFar();
  return FlushCounts{after.files - before.files, after.file_systems - before.file_systems};
}

TEST(FlushRule, CopyToFreeNamesAndMoveByRenameFlushNothing) {
  TempDir dir;
  dir.Write("src/a.txt", "a");
  dir.Write("src/sub/b.txt", "b");
  fs::create_directories(dir / "dst");
  const FlushCounts copy = Counted([&] {
    TSHFOP op = MakeOp(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(copy.files, 0u);
  EXPECT_EQ(copy.file_systems, 0u);
  EXPECT_EQ(ReadFile(dir / "dst/src/sub/b.txt"), "b");
  const FlushCounts move = Counted([&] {
    TSHFOP op = MakeOp(wMOVE, {(dir / "src/a.txt").string()}, (dir / "dst").string());
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(move.files + move.file_systems, 0u);
  EXPECT_EQ(ReadFile(dir / "dst/a.txt"), "a");
  const FlushCounts del = Counted([&] {
    TSHFOP op = MakeOp(wDELETE, {(dir / "dst/src").string()}, "");
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(del.files + del.file_systems, 0u);
  EXPECT_FALSE(fs::exists(dir / "dst/src"));
}

TEST(FlushRule, ACopyThatReplacesAFileIsFlushedBeforeItTakesItsPlace) {
  TempDir dir;
  dir.Write("src/a.txt", "new");
  dir.Write("src/b.txt", "free");
  dir.Write("dst/a.txt", "old");
  const FlushCounts c = Counted([&] {
    TSHFOP op = MakeOp(wCOPY, {(dir / "src/a.txt").string(), (dir / "src/b.txt").string()}, (dir / "dst").string(),
                   TfFlagsOptions{NOCONFIRMATION});
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(c.files, 1u);  // a.txt only: b.txt took a free name
  EXPECT_EQ(c.file_systems, 0u);
  EXPECT_EQ(ReadFile(dir / "dst/a.txt"), "new");
  EXPECT_EQ(ReadFile(dir / "dst/b.txt"), "free");
}

TEST(FlushRule, AMoveToAnotherFileSystemFlushesBeforeTheSourceGoes) {
  TempDir dir;
  struct stat a {}, b {};
  if (::stat("/dev/shm", &b) != 0 || ::access("/dev/shm", W_OK) != 0 || ::stat(dir.path().c_str(), &a) != 0 ||
      a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system";
  char tmpl[] = "/dev/shm/haruvi-flush-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const fs::path other = tmpl;
  dir.Write("tree/a.txt", "a");
  dir.Write("tree/sub/b.txt", "b");
  const FlushCounts c = Counted([&] {
    TSHFOP op = MakeOp(wMOVE, {(dir / "tree").string()}, other.string());
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(c.file_systems, 1u);
  EXPECT_FALSE(fs::exists(dir / "tree"));
  EXPECT_EQ(ReadFile(other / "tree/sub/b.txt"), "b");
  std::error_code ec;
  fs::remove_all(other, ec);
}

TEST(FlushRule, TheTrashFlushesItsRecordsOnceForManyEntries) {
  TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < 5; ++i) files.push_back(dir.Write("docs/f" + std::to_string(i), "x").string());
  const FlushCounts c = Counted([&] {
    TSHFOP op = MakeOp(wDELETE, files, "", TfFlagsOptions{ALLOWUNDO});
    op.trash_data_home = (dir / "data").string();
    EXPECT_TRUE(op.Execute(nullptr));
  });
  EXPECT_EQ(c.file_systems, 1u);
  EXPECT_EQ(c.files, 0u);
  EXPECT_TRUE(fs::exists(dir / "data/Trash/info/f4.trashinfo"));
  EXPECT_FALSE(fs::exists(files[0]));
}

TEST(FlushRule, AMergeFlushesOnlyWhenItReplacesAFile) {
  TempDir dir;
  const std::string a = dir.Write("a.001", "one ").string(), b = dir.Write("a.002", "two").string();
  const std::string target = (dir / "a.txt").string();
  EXPECT_EQ(Counted([&] { EXPECT_TRUE(MergeFiles(target, {a, b}).ok); }).files, 0u);
  EXPECT_EQ(Counted([&] { EXPECT_TRUE(MergeFiles(target, {b, a}).ok); }).files, 1u);
  EXPECT_EQ(ReadFile(target), "twoone ");
}

}  // namespace
}  // namespace haruvi::fileops
