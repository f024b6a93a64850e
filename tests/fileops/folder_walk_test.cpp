// Folder statistics and the folder search: totals over a generated tree, links and loops,
// masks, unreadable folders and cancellation.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fileops/folder_walk.h"
#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

// 3 folders deep, 2 files each, sizes 1..n bytes.
class FolderWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("a.txt", std::string(10, 'x'));
    dir.Write("b.bmp", std::string(20, 'x'));
    dir.Write("sub/c.TXT", std::string(30, 'x'));
    dir.Write("sub/d", std::string(40, 'x'));
    dir.Write("sub/deeper/e.txt", std::string(50, 'x'));
    dir.Write(".hidden/f", std::string(60, 'x'));
    std::filesystem::create_directories(dir / "empty");
  }
  test::TempDir dir;
};

TEST_F(FolderWalkTest, CountsEveryFileAtAnyDepthHiddenIncluded) {
  FolderTotals t = WalkFolderTotals(dir.path().string());
  EXPECT_EQ(t.files, 6u);
  EXPECT_EQ(t.bytes, 210u);
  EXPECT_FALSE(t.cancelled);
}

TEST_F(FolderWalkTest, SymbolicLinksAreCountedNotFollowedSoLoopsEnd) {
  std::filesystem::create_directory_symlink(dir.path(), dir / "sub/loop");
  std::filesystem::create_directory_symlink("..", dir / "sub/deeper/up");
  FolderTotals t = WalkFolderTotals(dir.path().string());
  EXPECT_EQ(t.files, 8u);  // the two links themselves
  EXPECT_GE(t.bytes, 210u);
}

TEST_F(FolderWalkTest, AFolderOpenedThroughALinkIsWalkedButLinksInsideStayUnfollowed) {
  test::TempDir other;
  std::filesystem::create_directory_symlink(dir.path(), other / "linked");
  std::filesystem::create_directory_symlink(dir / "sub", dir / "again");
  FolderTotals t = WalkFolderTotals((other / "linked").string());
  EXPECT_EQ(t.files, 7u);  // the six files and the inner link itself
  EXPECT_EQ(t.unreadable_folders, 0u);
}

TEST_F(FolderWalkTest, UnreadableFoldersAreSkippedAndCounted) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  ::chmod((dir / "sub").c_str(), 0);
  FolderTotals t = WalkFolderTotals(dir.path().string());
  EXPECT_EQ(t.files, 3u);
  EXPECT_EQ(t.unreadable_folders, 1u);
}

TEST_F(FolderWalkTest, ACancelledWalkSaysSo) {
  std::atomic<bool> cancel{true};
  WalkOptions options;
  options.cancel = &cancel;
  EXPECT_TRUE(WalkFolderTotals(dir.path().string(), options).cancelled);
}

TEST_F(FolderWalkTest, SkippedDevicesAreNotEntered) {
  struct stat st {};
  ASSERT_EQ(::stat(dir.path().c_str(), &st), 0);
  WalkOptions options;
  options.skip_devices = {st.st_dev};
  EXPECT_EQ(WalkFolderTotals(dir.path().string(), options).files, 0u);
}

TEST_F(FolderWalkTest, MissingFolderGivesNothing) {
  FolderTotals t = WalkFolderTotals((dir / "nope").string());
  EXPECT_EQ(t.files, 0u);
  EXPECT_EQ(t.unreadable_folders, 1u);
}

TEST_F(FolderWalkTest, FindFilesListsFilesFolderByFolderBreadthFirst) {
  std::vector<std::string> list{"stale"};
  std::int64_t total = FindFiles(dir.path().string(), "*.*", list);
  EXPECT_EQ(total, 210);
  ASSERT_EQ(list.size(), 6u);
  const std::string root = dir.path().string() + "/";
  // Files of the top folder come first, the deepest last.
  EXPECT_EQ(list.back(), root + "sub/deeper/e.txt");
  for (size_t i = 0; i < 2; ++i) EXPECT_EQ(list[i].find('/', root.size()), std::string::npos) << list[i];
}

TEST_F(FolderWalkTest, FindFilesMaskMatchesWithoutCase) {
  std::vector<std::string> list;
  EXPECT_EQ(FindFiles(dir.path().string(), "\\*.txt", list), 90);  // one leading "\" dropped
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(FindFiles(dir.path().string(), "", list), 210);        // empty mask is "*.*"
}

TEST_F(FolderWalkTest, NamesMadeOfDotsAreFilesAndFolders) {
  dir.Write("...", "1");
  dir.Write("..x", "22");
  dir.Write("..../inside", "333");  // a folder named with dots
  FolderTotals t = WalkFolderTotals((dir / "sub").string() + "/..");  // through ".." too
  EXPECT_EQ(t.files, 9u);
  EXPECT_EQ(t.bytes, 216u);
}

TEST_F(FolderWalkTest, WalksWhileStandardInputIsClosed) {
  // Started from a launcher without standard input, a folder may get descriptor 0.
  const int saved = ::dup(0);
  ASSERT_GE(saved, 0);
  ::close(0);
  const FolderTotals t = WalkFolderTotals(dir.path().string());
  std::vector<std::string> list;
  const std::int64_t found = FindFiles(dir.path().string(), "*.*", list);
  ::dup2(saved, 0);
  ::close(saved);
  EXPECT_EQ(t.files, 6u);
  EXPECT_EQ(t.unreadable_folders, 0u);
  EXPECT_EQ(found, 210);
}

TEST_F(FolderWalkTest, FindFilesOnAFileLeavesTheListUntouched) {
  std::vector<std::string> list{"keep"};
  EXPECT_EQ(FindFiles((dir / "a.txt").string(), "*.*", list), 0);
  EXPECT_EQ(list, std::vector<std::string>{"keep"});
}

// The tree walk of grep -r: FindFiles's order in one pass, each entry's kind from the
// folder entry; links are reported, never followed, so a loop ends.
TEST_F(FolderWalkTest, WalkTreeGivesFindFilesOrderWithKinds) {
  std::filesystem::create_directory_symlink(dir.path(), dir / "sub/loop");
  ASSERT_EQ(::mkfifo((dir / "sub/fifo").c_str(), 0600), 0);
  std::vector<std::string> listed;
  FindFiles(dir.path().string(), "*.*", listed);
  std::vector<std::string> walked;
  std::vector<std::string> links, others;
  WalkTree(dir.path().string(), [&](TreeEntry&& e) {
    walked.push_back(e.path);
    if (e.kind == TreeEntry::Link) links.push_back(e.path);
    if (e.kind == TreeEntry::Other) others.push_back(e.path);
  });
  EXPECT_EQ(walked, listed);
  EXPECT_EQ(links, std::vector<std::string>{(dir / "sub/loop").string()});
  EXPECT_EQ(others, std::vector<std::string>{(dir / "sub/fifo").string()});
  std::atomic<bool> cancel{true};
  int seen = 0;
  WalkTree(dir.path().string(), [&](TreeEntry&&) { ++seen; }, &cancel);
  EXPECT_EQ(seen, 0);
}

TEST(MatchesMask, Wildcards) {
  struct Row { const char* name; const char* mask; bool want; } rows[] = {
      {"a.txt", "*.*", true},   {"noext", "*.*", true},    {"a.TXT", "*.txt", true},
      {"a.text", "*.txt", false}, {"abc", "a?c", true},     {"ac", "a?c", false},
      {"report.tar.gz", "*.gz", true}, {"x", "*", true},     {"", "*", true},
      {"aaa", "a*a*a", true},   {"aa", "a*a*a", false},
      // Case folds for every capital, and for nothing beside them.
      {"Z", "z", true},         {"z", "Z", true},          {"A", "a", true},
      {"@", "`", false},        {"`", "@", false},         {"[", "{", false},
      {"{", "[", false},
      // A "*" in the name is matched like any other byte, also by a "*" of the mask.
      {"*x.txt", "*.txt", true}, {"a*b", "a*b", true},     {"a*xb", "a*b", true},
      {"*", "?", true},          {"x", "*x*", true},
  };
  for (const Row& r : rows) EXPECT_EQ(MatchesMask(r.name, r.mask), r.want) << r.name << " " << r.mask;
}

}  // namespace
}  // namespace haruvi::fileops

#include <fcntl.h>

namespace haruvi::fileops {
namespace {

// A chain of `depth` folders "d/d/d/..." made and removed through descriptors, since its
// paths are longer than the system allows a path to be.
class DeepChain {
 public:
  DeepChain(const std::filesystem::path& at, int depth) : depth_(depth) {
    int fd = ::open(at.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth; ++i) {
      ::mkdirat(fd, "d", 0700);
      const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
      ::close(fd);
      fd = next;
    }
    const int file = ::openat(fd, "bottom.txt", O_CREAT | O_WRONLY, 0600);
    (void)!::write(file, "12345", 5);
    ::close(file);
    bottom_ = fd;
  }
  ~DeepChain() {
    ::unlinkat(bottom_, "bottom.txt", 0);
    int fd = bottom_;
    for (int i = 0; i < depth_; ++i) {
      const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
      ::close(fd);
      fd = up;
      ::unlinkat(fd, "d", AT_REMOVEDIR);
    }
    ::close(fd);
  }

 private:
  int depth_;
  int bottom_ = -1;
};

TEST(FolderWalkDepth, TreesDeeperThanAnyPathAreWalkedWhole) {
  test::TempDir dir;
  DeepChain chain(dir.path(), 3000);  // paths of 6,000 bytes and more
  FolderTotals t = WalkFolderTotals(dir.path().string());
  EXPECT_EQ(t.files, 1u);
  EXPECT_EQ(t.bytes, 5u);
  EXPECT_EQ(t.unreadable_folders, 0u);
}

}  // namespace
}  // namespace haruvi::fileops
