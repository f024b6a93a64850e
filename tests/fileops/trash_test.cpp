// The trash the desktop can restore from: the info file's Path= and DeletionDate=, names
// made unique, folders whole, and the top-directory trash of another file system.
#include "fileops/trash.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include <gtest/gtest.h>

#include "fileops/shfop.h"
#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

using test::ReadFile;
using test::TempDir;
namespace fs = std::filesystem;

TEST(Trash, InfoFileThenEntryAndUniqueNames) {
  TempDir dir;
  TrashPlace place;
  place.data_home = (dir / "data").string();
  place.uid = 1000;
  place.now = 86400 * 365;
  const std::string odd = "a b%\xff\n.txt";
  auto f = dir.Write("docs/" + odd, "first");
  const TrashResult r = MoveToTrash(f.string(), place);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_FALSE(fs::exists(f));
  EXPECT_EQ(r.trashed_as, (dir / "data/Trash/files" / odd).string());
  EXPECT_EQ(ReadFile(r.trashed_as), "first");
  const std::string info = ReadFile(r.info_file);
  EXPECT_EQ(r.info_file, (dir / "data/Trash/info" / (odd + ".trashinfo")).string());
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
  EXPECT_NE(info.find("Path=" + PercentEncodePath((dir / "docs").string()) + "/a%20b%25%FF%0A.txt\n"),
            std::string::npos) << info;
  EXPECT_NE(info.find("\nDeletionDate=1971-01-01T"), std::string::npos) << info;
  // A second file of the same name gets a name of its own; folders go whole.
  dir.Write("docs/" + odd, "second");
  dir.Write("docs/sub/inner", "i");
  const TrashResult again = MoveToTrash((dir / "docs" / odd).string(), place);
  ASSERT_TRUE(again.ok);
  EXPECT_NE(again.trashed_as, r.trashed_as);
  EXPECT_EQ(ReadFile(again.trashed_as), "second");
  EXPECT_EQ(ReadFile(r.trashed_as), "first");
  ASSERT_TRUE(MoveToTrash((dir / "docs/sub").string(), place).ok);
  EXPECT_EQ(ReadFile(dir / "data/Trash/files/sub/inner"), "i");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "data/Trash").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// A name at the 255-byte limit leaves no room for ".trashinfo": the trash's name is
// shortened, whole characters and the extension kept, and the info file names the item.
TEST(Trash, ANameOf255BytesGoesToTheTrashUnderAShorterName) {
  TempDir dir;
  TrashPlace place;
  place.data_home = (dir / "data").string();
  std::string name;
  for (int i = 0; i < 83; ++i) name += "\xE3\x81\x82";  // あ
  name += "ab.txt";
  ASSERT_EQ(name.size(), 255u);
  for (const char* text : {"first", "second"}) {  // the second gets a number added
    auto f = dir.Write("docs/" + name, text);
    const TrashResult r = MoveToTrash(f.string(), place);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(fs::exists(f));
    EXPECT_EQ(ReadFile(r.trashed_as), text);
    const std::string trashed = fs::path(r.trashed_as).filename().string();
    EXPECT_LE(trashed.size() + 10, 255u);
    EXPECT_TRUE(trashed.ends_with(".txt")) << trashed;
    EXPECT_EQ(trashed.rfind("\xE3\x81\x82", 0), 0u);
    EXPECT_NE(ReadFile(r.info_file).find("Path=" + PercentEncodePath(f.string()) + "\n"), std::string::npos);
  }
}

TEST(Trash, FailuresLoseNothing) {
  TempDir dir;
  TrashPlace place;
  place.data_home = (dir / "data").string();
  EXPECT_FALSE(MoveToTrash((dir / "missing").string(), place).ok);
  // The trash itself, or a folder holding it, is refused.
  dir.Write("data/x", "x");
  ASSERT_TRUE(MoveToTrash((dir / "data/x").string(), place).ok);
  const TrashResult self = MoveToTrash((dir / "data").string(), place);
  EXPECT_FALSE(self.ok);
  EXPECT_TRUE(fs::exists(dir / "data/Trash/files/x"));
  // A data home that is a file: no trash can be made there, and the entry stays.
  dir.Write("blocked", "file");
  auto f = dir.Write("keep.txt", "k");
  TrashPlace bad;
  bad.data_home = (dir / "blocked").string();
  const TrashResult r = MoveToTrash(f.string(), bad);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(ReadFile(f), "k");
}

TEST(Trash, DeleteWithUndoGoesToTheTrash) {
  TempDir dir;
  dir.Write("a.txt", "a");
  dir.Write("b/c.txt", "c");
  TSHFOP op;
  op.OperationF = wDELETE;
  op.trash_data_home = (dir / "data").string();
  op.FromFFList = {(dir / "a.txt").string(), (dir / "b").string()};
  ASSERT_TRUE(op.Execute(nullptr));
  EXPECT_FALSE(fs::exists(dir / "a.txt"));
  EXPECT_EQ(ReadFile(dir / "data/Trash/files/a.txt"), "a");
  EXPECT_EQ(ReadFile(dir / "data/Trash/files/b/c.txt"), "c");
  EXPECT_TRUE(fs::exists(dir / "data/Trash/info/b.trashinfo"));
}

TEST(Trash, AnotherFileSystemUsesItsOwnTopDirectoryTrash) {
  TempDir dir;
  struct stat shm {}, tmp {};
  if (::stat("/dev/shm", &shm) != 0 || ::access("/dev/shm", W_OK) != 0 || ::stat(dir.path().c_str(), &tmp) != 0 ||
      shm.st_dev == tmp.st_dev)
    GTEST_SKIP() << "no second file system";
  char made[] = "/dev/shm/haruvi-trash-XXXXXX";
  ASSERT_NE(::mkdtemp(made), nullptr);
  const std::string file = std::string(made) + "/x y.txt";
  { std::ofstream(file) << "x"; }
  TrashPlace place;
  place.data_home = (dir / "data").string();
  place.uid = 4242;  // a trash folder of its own, removed below
  const std::string trash = "/dev/shm/.Trash-4242";
  const bool existed = fs::exists(trash);
  const TrashResult r = MoveToTrash(file, place);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.trashed_as.rfind(trash + "/files/", 0), 0u) << r.trashed_as;
  EXPECT_EQ(ReadFile(r.trashed_as), "x");
  // The path is relative to the file system's top folder there.
  EXPECT_NE(ReadFile(r.info_file).find("\nPath=" + PercentEncodePath(fs::path(made).filename().string()) + "/x%20y.txt\n"),
            std::string::npos) << ReadFile(r.info_file);
  EXPECT_FALSE(fs::exists(dir / "data/Trash/files/x y.txt"));
  std::error_code ec;
  fs::remove(r.trashed_as, ec);
  fs::remove(r.info_file, ec);
  if (!existed) fs::remove_all(trash, ec);
  fs::remove_all(made, ec);
}

TEST(Trash, PercentEncoding) {
  EXPECT_EQ(PercentEncodePath("/home/u/a-b_c.~x"), "/home/u/a-b_c.~x");
  EXPECT_EQ(PercentEncodePath("/x y/\xe3\x81\x82"), "/x%20y/%E3%81%82");
  EXPECT_EQ(PercentEncodePath("%#?"), "%25%23%3F");
}

}  // namespace
}  // namespace haruvi::fileops
