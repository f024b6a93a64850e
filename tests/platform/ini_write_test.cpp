// Writing the settings file: one key changes, everything else stays; writes are atomic.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

using test::ReadFile;

class IniWriteTest : public ::testing::Test {
 protected:
  test::TempDir dir;
};

TEST_F(IniWriteTest, UpdatesOnlyItsKeyAndKeepsOrderAndComments) {
  auto p = dir.Write("a.ini", "; my settings\n[Form]\nLeft=1\n; keep me\nTop=2\n\n[Menu]\nMdisp=1\n");
  IniFile ini(p);
  ASSERT_TRUE(ini.WriteInteger("form", "TOP", 40));
  EXPECT_EQ(ReadFile(p), "; my settings\n[Form]\nLeft=1\n; keep me\nTop=40\n\n[Menu]\nMdisp=1\n");
}

TEST_F(IniWriteTest, NewKeyGoesAtTheEndOfItsSectionBeforeBlankLines) {
  auto p = dir.Write("a.ini", "[Form]\nLeft=1\n\n[Menu]\nMdisp=1\n");
  IniFile ini(p);
  ASSERT_TRUE(ini.WriteInteger("Form", "Top", 2));
  EXPECT_EQ(ReadFile(p), "[Form]\nLeft=1\nTop=2\n\n[Menu]\nMdisp=1\n");
}

TEST_F(IniWriteTest, NewSectionIsAppendedAndCrLfIsKept) {
  auto p = dir.Write("a.ini", "[Form]\r\nLeft=1");
  IniFile ini(p);
  ASSERT_TRUE(ini.WriteBool("Menu", "Mrtf", true));
  EXPECT_EQ(ReadFile(p), "[Form]\r\nLeft=1\r\n[Menu]\r\nMrtf=1\r\n");
}

TEST_F(IniWriteTest, NewFilesAndFilesWithoutALineEndGetCrLf) {
  const struct {
    const char* before;  // nullptr: no file yet
    const char* after;
  } rows[] = {
      {nullptr, "[Form]\r\nLeft=1\r\n"},
      {"", "[Form]\r\nLeft=1\r\n"},
      {"; note", "; note\r\n[Form]\r\nLeft=1\r\n"},
      {"[Form]", "[Form]\r\nLeft=1\r\n"},
      {"[Form]\nTop=2", "[Form]\nTop=2\nLeft=1\n"},  // the file's own line end wins
  };
  for (const auto& row : rows) {
    const auto p = dir / "new.ini";
    std::filesystem::remove(p);
    if (row.before) dir.Write("new.ini", row.before);
    ASSERT_TRUE(IniFile(p).WriteInteger("Form", "Left", 1));
    EXPECT_EQ(ReadFile(p), row.after) << (row.before ? row.before : "(none)");
  }
}

TEST_F(IniWriteTest, MissingFileAndFolderAreCreated) {
  IniFile ini(dir / "config/haruvi/haruvi.ini");
  ASSERT_TRUE(ini.WriteString("File", "Save", "a b#c"));
  EXPECT_EQ(ini.ReadString("File", "Save", ""), "a b#c");
  EXPECT_EQ(ReadFile(dir / "config/haruvi/haruvi.ini"), "[File]\r\nSave=a b#c\r\n");
}

TEST_F(IniWriteTest, LineBreaksInAValueCannotInjectKeys) {
  IniFile ini(dir / "a.ini");
  ASSERT_TRUE(ini.WriteString("File", "Save", "x\n[Menu]\r\nMdisp=0"));
  EXPECT_EQ(ini.ReadValue("Menu", "Mdisp"), std::nullopt);
  EXPECT_EQ(ini.ReadString("File", "Save", ""), "x [Menu]  Mdisp=0");
}

TEST_F(IniWriteTest, RoundTripsManyKeysInAnyOrder) {
  IniFile ini(dir / "a.ini");
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(ini.WriteInteger("S" + std::to_string(i % 5), "k" + std::to_string(i), i));
  for (int i = 49; i >= 0; --i) ASSERT_TRUE(ini.WriteInteger("S" + std::to_string(i % 5), "k" + std::to_string(i), -i));
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ini.ReadInteger("s" + std::to_string(i % 5), "K" + std::to_string(i), 1), -i);
}

TEST_F(IniWriteTest, WriteLeavesNoTemporaryFilesBehind) {
  IniFile ini(dir / "a.ini");
  ASSERT_TRUE(ini.WriteString("A", "b", "c"));
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(IniWriteTest, FailedWriteLeavesTheOldFileWhole) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  auto p = dir.Write("ro/a.ini", "[Form]\nLeft=1\n");
  ::chmod((dir / "ro").c_str(), 0555);
  IniFile ini(p);
  EXPECT_FALSE(ini.WriteInteger("Form", "Left", 2));
  EXPECT_EQ(ReadFile(p), "[Form]\nLeft=1\n");
}

TEST_F(IniWriteTest, AWriteThatRunsOutOfSpaceLeavesTheOldFileWholeAndNoTemporary) {
  // A file-size limit makes the write fail part way, as a full disk would (root included).
  auto p = dir.Write("a.ini", "[Form]\nLeft=1\n");
  struct rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  IniFile ini(p);
  const bool written = ini.WriteString("Form", "Long", std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(p), "[Form]\nLeft=1\n");
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(IniWriteTest, WriteIntoAFileThatIsAFolderFailsWithoutDamage) {
  // Works as root too: renaming a file over a folder is refused by the kernel.
  std::filesystem::create_directories(dir / "a.ini");
  dir.Write("a.ini/inside", "x");
  IniFile ini(dir / "a.ini");
  EXPECT_FALSE(ini.WriteInteger("Form", "Left", 2));
  EXPECT_EQ(ReadFile(dir / "a.ini/inside"), "x");
}

TEST_F(IniWriteTest, KeepsFileModeAndWritesThroughSymlinks) {
  auto real = dir.Write("real.ini", "[A]\nb=1\n");
  ::chmod(real.c_str(), 0600);
  std::filesystem::create_symlink(real, dir / "link.ini");
  IniFile ini(dir / "link.ini");
  ASSERT_TRUE(ini.WriteInteger("A", "b", 2));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(ReadFile(real), "[A]\nb=2\n");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(IniWriteTest, DeleteKeyRemovesOnlyItsOwnLine) {
  const struct {
    const char *section, *key, *after;
  } rows[] = {
      {"A", "c", "; top\n[A]\n; note\nb=1\n[B]\nc=3\n"},  // a later key, past a comment
      {"b", "C", "; top\n[A]\n; note\nb=1\nc=2\n[B]\n"},  // the same name in another section
      {"A", "note", "; top\n[A]\n; note\nb=1\nc=2\n[B]\nc=3\n"},  // a comment is no key
      {"A", "z", "; top\n[A]\n; note\nb=1\nc=2\n[B]\nc=3\n"},
      {"Z", "b", "; top\n[A]\n; note\nb=1\nc=2\n[B]\nc=3\n"},
  };
  for (const auto& r : rows) {
    auto p = dir.Write("a.ini", "; top\n[A]\n; note\nb=1\nc=2\n[B]\nc=3\n");
    ASSERT_TRUE(IniFile(p).DeleteKey(r.section, r.key));
    EXPECT_EQ(ReadFile(p), r.after) << r.section << " " << r.key;
  }
}

TEST_F(IniWriteTest, DeleteKeyAndDeleteFile) {
  auto p = dir.Write("a.ini", "[A]\nb=1\nc=2\n");
  IniFile ini(p);
  ASSERT_TRUE(ini.DeleteKey("a", "B"));
  EXPECT_EQ(ReadFile(p), "[A]\nc=2\n");
  ASSERT_TRUE(ini.DeleteFile());
  EXPECT_FALSE(ini.Exists());
  EXPECT_TRUE(ini.DeleteFile());  // nothing left to delete is fine
}

}  // namespace
}  // namespace haruvi::platform
