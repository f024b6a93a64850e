// The file engine on temporary trees: copy, move, delete and rename with their options,
// the folder question, conflict answers, the file list and the refusals.
#include "fileops/shfop.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "file_op_ui.h"
#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

using test::ReadFile;
using test::ScriptedUi;
using test::TempDir;
namespace fs = std::filesystem;

using test::MakeOp;

TEST(Shfop, NothingToDoReturnsFalseAtOnce) {
  TempDir dir;
  ScriptedUi ui;
  TSHFOP empty = MakeOp(wCOPY, {}, dir.path().string());
  EXPECT_FALSE(empty.Execute(&ui));
  auto f = dir.Write("a.txt", "a");
  TSHFOP no_target = MakeOp(wMOVE, {f.string()}, "");
  EXPECT_FALSE(no_target.Execute(&ui));
  EXPECT_TRUE(fs::exists(f));
  EXPECT_TRUE(ui.folder_questions.empty());
  EXPECT_EQ(TfFlagsOptions{ALLOWUNDO}.Bits(), 1);
  EXPECT_EQ((TfFlagsOptions{NOCONFIRMMKDIR, SIMPLEPROGRESS}.Bits()), 0x90);
}

TEST(Shfop, CopyKeepsBytesModesTimesLinksAndFillsTheFileList) {
  TempDir dir;
  const std::string bytes("\0\x82\xa0\xff\r\n", 6);
  auto a = dir.Write("src/a b.txt", bytes);
  dir.Write("src/sub/.hidden", "h");
  dir.Write("src/sub/$(touch x)\n'q\".txt", "odd");
  dir.Write("src/\xff\xfe.bin", "not utf-8");
  ::chmod(a.c_str(), 0640);
  struct timespec t[2] = {{1000000000, 0}, {1000000000, 0}};
  ::utimensat(AT_FDCWD, a.c_str(), t, 0);
  fs::create_symlink("a b.txt", dir / "src/link");
  fs::create_symlink("../..", dir / "src/sub/loop");  // copied as a link, never entered

  TSHFOP op = MakeOp(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  op.GetFileList = true;
  op.Options.Add(NOCONFIRMMKDIR);
  ScriptedUi ui;
  ASSERT_TRUE(op.Execute(&ui)) << (op.Problems().empty() ? "" : op.Problems()[0].reason);
  EXPECT_FALSE(op.Aborted());
  EXPECT_TRUE(ui.folder_questions.empty());
  EXPECT_EQ(ReadFile(dir / "dst/src/a b.txt"), bytes);
  EXPECT_EQ(ReadFile(dir / "dst/src/sub/$(touch x)\n'q\".txt"), "odd");
  EXPECT_EQ(ReadFile(dir / "dst/src/\xff\xfe.bin"), "not utf-8");
  EXPECT_EQ(fs::read_symlink(dir / "dst/src/link"), "a b.txt");
  EXPECT_EQ(fs::read_symlink(dir / "dst/src/sub/loop"), "../..");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "dst/src/a b.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
  EXPECT_FALSE(fs::exists(dir / "x"));
  // Files only, hidden ones and links included, each with its record.
  ASSERT_EQ(op.FileList().size(), 6u);
  for (const FileListEntry& e : op.FileList()) {
    ASSERT_TRUE(e.info.has_value());
    EXPECT_FALSE(S_ISDIR(e.info->st.st_mode)) << e.path;
  }
  EXPECT_EQ(ui.last.files_done, 6u);
  EXPECT_EQ(ui.last.bytes_total, ui.last.bytes_done);
  // Nothing temporary left in the target.
  for (auto& e : fs::recursive_directory_iterator(dir / "dst"))
    EXPECT_EQ(e.path().filename().string().find(".haruvi-"), std::string::npos);
}

TEST(Shfop, PatternsMissingFoldersAndTheVeto) {
  TempDir dir;
  dir.Write("a.txt", "1");
  dir.Write("b.TXT", "2");
  dir.Write("c.doc", "3");
  dir.Write("d.txt/inner", "4");
  const std::string pattern = (dir / "*.txt").string();
  // The folder question: Cancel copies nothing and leaves Aborted as it was.
  ScriptedUi no;
  no.create_folder = false;
  TSHFOP op = MakeOp(wCOPY, {pattern}, (dir / "new/deeper").string());
  EXPECT_FALSE(op.Execute(&no));
  ASSERT_EQ(no.folder_questions.size(), 1u);
  EXPECT_EQ(no.folder_questions[0], (dir / "new/deeper").string());
  EXPECT_FALSE(fs::exists(dir / "new"));
  EXPECT_FALSE(op.Aborted());
  // OK makes it with its parents; the pattern brings matching folders whole.
  ScriptedUi yes;
  ASSERT_TRUE(op.Execute(&yes));
  EXPECT_EQ(ReadFile(dir / "new/deeper/a.txt"), "1");
  EXPECT_EQ(ReadFile(dir / "new/deeper/d.txt/inner"), "4");
  EXPECT_FALSE(fs::exists(dir / "new/deeper/b.TXT"));
  EXPECT_EQ(op.FileList().size(), 2u);
  // FILESONLY leaves matching folders out.
  TSHFOP files = MakeOp(wCOPY, {pattern}, (dir / "f").string());
  files.Options = {NOCONFIRMMKDIR, FILESONLY};
  ASSERT_TRUE(files.Execute(nullptr));
  EXPECT_FALSE(fs::exists(dir / "f/d.txt"));
  // A handler that clears the flag vetoes: false, Aborted, nothing done.
  TSHFOP veto = MakeOp(wDELETE, {(dir / "a.txt").string()}, "");
  veto.Options = {};
  veto.OnPrepared = [](TSHFOP&, bool& exec) { exec = false; };
  EXPECT_FALSE(veto.Execute(nullptr));
  EXPECT_TRUE(veto.Aborted());
  EXPECT_TRUE(fs::exists(dir / "a.txt"));
  // A missing folder with no name cannot be made.
  TSHFOP nameless = MakeOp(wCOPY, {(dir / "c.doc").string()}, (dir / "c.doc/x").string());
  nameless.Options = {NOCONFIRMMKDIR};
  EXPECT_THROW(nameless.Execute(nullptr), FileOpError);
}

TEST(Shfop, ConflictAnswersReplaceSkipRenameCancelAndForAll) {
  TempDir dir;
  dir.Write("src/a.txt", "new a");
  dir.Write("src/b.txt", "new b");
  dir.Write("src/c.txt", "new c");
  dir.Write("dst/a.txt", "old a");
  dir.Write("dst/b.txt", "old b");
  dir.Write("dst/c.txt", "old c");
  const std::vector<std::string> all = {(dir / "src/a.txt").string(), (dir / "src/b.txt").string(),
                                        (dir / "src/c.txt").string()};
  ScriptedUi ui;
  ui.answers = {{ConflictChoice::Replace, false}, {ConflictChoice::Skip, false}, {ConflictChoice::Rename, false}};
  TSHFOP op = MakeOp(wCOPY, all, (dir / "dst").string());
  ASSERT_TRUE(op.Execute(&ui));
  ASSERT_EQ(ui.conflicts.size(), 3u);
  EXPECT_EQ(ui.conflicts[0].source.size, 5u);
  EXPECT_EQ(ui.conflicts[0].target.path, (dir / "dst/a.txt").string());
  EXPECT_EQ(ReadFile(dir / "dst/a.txt"), "new a");
  EXPECT_EQ(ReadFile(dir / "dst/b.txt"), "old b");
  EXPECT_EQ(ReadFile(dir / "dst/c.txt"), "old c");
  EXPECT_EQ(ReadFile(dir / "dst/c (2).txt"), "new c");
  // One answer for all: asked once.
  ScriptedUi once;
  once.answers = {{ConflictChoice::Skip, true}};
  ASSERT_TRUE(op.Execute(&once));
  EXPECT_EQ(once.conflicts.size(), 1u);
  // Cancel stops: false and Aborted.
  ScriptedUi stop;
  EXPECT_FALSE(op.Execute(&stop));
  EXPECT_TRUE(op.Aborted());
  // With no one to ask, a conflict fails that entry and keeps the old file.
  EXPECT_FALSE(op.Execute(nullptr));
  EXPECT_EQ(ReadFile(dir / "dst/b.txt"), "old b");
  ASSERT_FALSE(op.Problems().empty());
  // NOCONFIRMATION replaces, RENAMEONCOLLISION makes new names, without asking.
  op.Options = {NOCONFIRMATION};
  ScriptedUi quiet;
  ASSERT_TRUE(op.Execute(&quiet));
  EXPECT_TRUE(quiet.conflicts.empty());
  EXPECT_EQ(ReadFile(dir / "dst/b.txt"), "new b");
  op.Options = {RENAMEONCOLLISION};
  ASSERT_TRUE(op.Execute(&quiet));
  EXPECT_EQ(ReadFile(dir / "dst/b (2).txt"), "new b");
}

TEST(Shfop, RefusesAFolderIntoItselfAndAFileOntoItself) {
  TempDir dir;
  dir.Write("tree/sub/f", "f");
  TSHFOP into = MakeOp(wCOPY, {(dir / "tree").string()}, (dir / "tree/sub").string());
  EXPECT_FALSE(into.Execute(nullptr));
  ASSERT_EQ(into.Problems().size(), 1u);
  EXPECT_FALSE(fs::exists(dir / "tree/sub/tree"));
  TSHFOP move_into = MakeOp(wMOVE, {(dir / "tree").string()}, (dir / "tree/sub").string());
  EXPECT_FALSE(move_into.Execute(nullptr));
  EXPECT_TRUE(fs::exists(dir / "tree/sub/f"));
  TSHFOP same = MakeOp(wCOPY, {(dir / "tree/sub/f").string()}, (dir / "tree/sub").string());
  EXPECT_FALSE(same.Execute(nullptr));
  EXPECT_EQ(ReadFile(dir / "tree/sub/f"), "f");
}

TEST(Shfop, MoveRenamesOrMergesAndKeepsTheSourceOnConflicts) {
  TempDir dir;
  dir.Write("src/a.txt", "a");
  dir.Write("src/sub/b.txt", "b");
  dir.Write("dst/src/sub/keep.txt", "keep");
  dir.Write("dst/src/a.txt", "old");
  ScriptedUi ui;
  ui.answers = {{ConflictChoice::Replace, true}};
  TSHFOP op = MakeOp(wMOVE, {(dir / "src").string()}, (dir / "dst").string());
  ASSERT_TRUE(op.Execute(&ui)) << op.Problems()[0].reason;
  EXPECT_FALSE(fs::exists(dir / "src"));
  EXPECT_EQ(ReadFile(dir / "dst/src/a.txt"), "a");
  EXPECT_EQ(ReadFile(dir / "dst/src/sub/b.txt"), "b");
  EXPECT_EQ(ReadFile(dir / "dst/src/sub/keep.txt"), "keep");
  // Skipped entries stay where they were.
  dir.Write("x/a.txt", "mine");
  ScriptedUi skip;
  skip.answers = {{ConflictChoice::Skip, false}};
  TSHFOP keep = MakeOp(wMOVE, {(dir / "x/a.txt").string()}, (dir / "dst/src").string());
  ASSERT_TRUE(keep.Execute(&skip));
  EXPECT_EQ(ReadFile(dir / "x/a.txt"), "mine");
}

TEST(Shfop, PermanentDeleteNeverFollowsLinksOutOfTheTree) {
  TempDir dir;
  dir.Write("outside/precious", "p");
  dir.Write("tree/a/b/c", "c");
  fs::create_symlink(dir / "outside", dir / "tree/a/out");
  fs::create_directory_symlink(dir / "outside", dir / "tree/a/b/dirlink");
  TSHFOP op = MakeOp(wDELETE, {(dir / "tree").string()}, "");
  op.Options = {};
  ScriptedUi ui;
  ASSERT_TRUE(op.Execute(&ui));
  EXPECT_FALSE(fs::exists(dir / "tree"));
  EXPECT_EQ(ReadFile(dir / "outside/precious"), "p");
  EXPECT_EQ(op.FileList().size(), 3u);  // c and the two links
}

TEST(Shfop, RenameWithPatternsNeverOverwritesSilently) {
  TempDir dir;
  dir.Write("notes.txt", "n");
  dir.Write("taken.txt", "t");
  TSHFOP op = MakeOp(wRENAME, {(dir / "notes.txt").string()}, "*.bak");
  ASSERT_TRUE(op.Execute(nullptr));
  EXPECT_EQ(op.ToFolder, "?*.bak");
  EXPECT_EQ(ReadFile(dir / "notes.bak"), "n");
  // Onto an existing name: asked; with no one to ask, refused.
  TSHFOP onto = MakeOp(wRENAME, {(dir / "notes.bak").string()}, "taken.txt");
  EXPECT_FALSE(onto.Execute(nullptr));
  EXPECT_EQ(ReadFile(dir / "taken.txt"), "t");
  ScriptedUi ui;
  ui.answers = {{ConflictChoice::Rename, false}};
  ASSERT_TRUE(onto.Execute(&ui));
  EXPECT_EQ(ReadFile(dir / "taken (2).txt"), "n");
  EXPECT_EQ(ApplyRenameMask("?*.bak", "notes.txt"), "notes.bak");
  EXPECT_EQ(ApplyRenameMask("*.bak", "archive.tar.gz"), "archive.tar.bak");
  EXPECT_EQ(ApplyRenameMask("x?*", "abc"), "xbc");
  EXPECT_EQ(ApplyRenameMask("*", "plain"), "plain");
}

TEST(Shfop, CancelStopsBetweenFilesAndLeavesNoPartialTarget) {
  TempDir dir;
  for (int i = 0; i < 5; ++i) dir.Write("src/f" + std::to_string(i), std::string(1000, 'x'));
  ScriptedUi ui;
  ui.on_progress = [](const ProgressInfo& p) { return p.files_done < 2; };
  TSHFOP op = MakeOp(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  op.Options.Add(NOCONFIRMMKDIR);
  EXPECT_FALSE(op.Execute(&ui));
  EXPECT_TRUE(op.Aborted());
  int copied = 0;
  for (auto& e : fs::recursive_directory_iterator(dir / "dst")) {
    EXPECT_EQ(e.path().filename().string().find(".haruvi-"), std::string::npos);
    if (e.is_regular_file()) {
      ++copied;
      EXPECT_EQ(fs::file_size(e.path()), 1000u);
    }
  }
  EXPECT_LT(copied, 5);
}

TEST(Shfop, MultipleTargetsAreNamedOneBySourceEvenWithLineFeeds) {
  TempDir dir;
  dir.Write("a\nb/one.txt", "1");
  dir.Write("a\nb/two.txt", "2");
  TSHFOP one = MakeOp(wCOPY, {(dir / "a\nb/one.txt").string()}, (dir / "a\nb/one copy.txt").string());
  one.Options = {MULTIDESTFILES};
  ASSERT_TRUE(one.Execute(nullptr));
  EXPECT_EQ(ReadFile(dir / "a\nb/one copy.txt"), "1");
  TSHFOP two = MakeOp(wCOPY, {(dir / "a\nb/one.txt").string(), (dir / "a\nb/two.txt").string()}, "");
  two.ToFolder = "unused";
  two.ToFiles = {(dir / "x1").string(), (dir / "x\n2").string()};
  two.Options = {MULTIDESTFILES};
  ASSERT_TRUE(two.Execute(nullptr));
  EXPECT_EQ(ReadFile(dir / "x1"), "1");
  EXPECT_EQ(ReadFile(dir / "x\n2"), "2");
  two.ToFiles.pop_back();  // one target short: nothing is guessed
  EXPECT_FALSE(two.Execute(nullptr));
}

TEST(Shfop, SparseFilesStaySparseAndCancelMidFileLeavesNoPart) {
  TempDir dir;
  fs::create_directories(dir / "src");
  const std::string sparse = (dir / "src/sparse.img").string();
  {
    const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "middle", 6, 5 << 20), 6);
    ASSERT_EQ(::ftruncate(fd, 64 << 20), 0);  // a hole at the end as well
    ::close(fd);
  }
  TSHFOP op = MakeOp(wCOPY, {sparse}, (dir / "dst").string());
  op.Options.Add(NOCONFIRMMKDIR);
  ASSERT_TRUE(op.Execute(nullptr));
  struct stat st {};
  ASSERT_EQ(::stat((dir / "dst/sparse.img").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 64 << 20);
  EXPECT_LT(st.st_blocks * 512, 1 << 20);  // not 64 MB of zeros on disk
  {
    // The data where it was, zeros around it.
    const int fd = ::open((dir / "dst/sparse.img").c_str(), O_RDONLY);
    char buf[8] = {};
    EXPECT_EQ(::pread(fd, buf, 8, (5 << 20) - 1), 8);
    EXPECT_EQ(std::string(buf, 8), std::string("\0middle\0", 8));
    EXPECT_EQ(::pread(fd, buf, 8, (64 << 20) - 8), 8);
    EXPECT_EQ(std::string(buf, 8), std::string(8, '\0'));
    ::close(fd);
  }
  // Cancel inside a big file: no piece of it stays, the old target neither changes.
  dir.Write("src/big.bin", std::string(24u << 20, 'b'));
  dir.Write("dst/big.bin", "old");
  ScriptedUi ui;
  ui.answers = {{ConflictChoice::Replace, false}};
  bool pressed = false;
  ui.on_progress = [&](const ProgressInfo& p) {
    if (p.bytes_done > 0 && p.current == (dir / "src/big.bin").string()) pressed = true;
    return !pressed;
  };
  TSHFOP big = MakeOp(wCOPY, {(dir / "src/big.bin").string()}, (dir / "dst").string());
  EXPECT_FALSE(big.Execute(&ui));
  EXPECT_TRUE(big.Aborted());
  EXPECT_EQ(ReadFile(dir / "dst/big.bin"), "old");
  for (auto& e : fs::directory_iterator(dir / "dst"))
    EXPECT_EQ(e.path().filename().string().find(".haruvi-"), std::string::npos);
}

}  // namespace
}  // namespace haruvi::fileops
