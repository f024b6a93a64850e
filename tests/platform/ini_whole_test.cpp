// The settings file written whole: reader and writer agree on every line end and form,
// values keep their bytes, a read-only file is left alone, a batch writes once, changes
// on disk are seen, and a write killed at any moment leaves the old file or the new.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <gtest/gtest.h>

#include <random>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

using test::ReadFile;

class IniWholeTest : public ::testing::Test {
 protected:
  test::TempDir dir;
};

TEST_F(IniWholeTest, EveryLineEndReadsAndWritesBackAsItWas) {
  for (const char* end : {"\r", "\n", "\r\n"}) {
    const std::string e = end;
    auto p = dir.Write("a.ini", "[Form]" + e + "Left=1" + e + "[Menu]" + e + "Mdisp=0" + e);
    IniFile ini(p);
    EXPECT_EQ(ini.ReadInteger("Form", "Left", 9), 1) << e.size();
    EXPECT_EQ(ini.ReadInteger("Menu", "Mdisp", 9), 0);
    for (int run = 0; run < 3; ++run) ASSERT_TRUE(ini.WriteInteger("Form", "Left", 2));
    EXPECT_EQ(ReadFile(p), "[Form]" + e + "Left=2" + e + "[Menu]" + e + "Mdisp=0" + e);
  }
}

TEST_F(IniWholeTest, ANewFileIsWrittenWithCrLf) {
  IniFile ini(dir / "new.ini");
  ASSERT_TRUE(ini.WriteInteger("Form", "Left", 1));
  ASSERT_TRUE(ini.WriteInteger("Menu", "Mdisp", 0));
  EXPECT_EQ(ReadFile(dir / "new.ini"), "[Form]\r\nLeft=1\r\n[Menu]\r\nMdisp=0\r\n");
}

TEST_F(IniWholeTest, ValuesKeepTheirBytes) {
  const std::string sjis = "\x93\xfa\x96\x7b\xff\x80";
  auto p = dir.Write("a.ini", "[File]\r\nDir=" + sjis + "\r\n");
  IniFile ini(p);
  EXPECT_EQ(ini.ReadString("File", "Dir", ""), sjis);
  ASSERT_TRUE(ini.WriteString("File", "Save", sjis));
  EXPECT_EQ(ReadFile(p), "[File]\r\nDir=" + sjis + "\r\nSave=" + sjis + "\r\n");
}

TEST_F(IniWholeTest, AReadOnlyFileIsLeftAloneWhoeverRuns) {
  auto p = dir.Write("a.ini", "[Form]\r\nLeft=1\r\n");
  ::chmod(p.c_str(), 0444);
  IniFile ini(p);
  EXPECT_TRUE(ini.ReadOnly());
  EXPECT_FALSE(ini.WriteInteger("Form", "Left", 2));
  EXPECT_EQ(ini.LastWrite(), IniFile::WriteState::ReadOnly);
  EXPECT_EQ(ReadFile(p), "[Form]\r\nLeft=1\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST_F(IniWholeTest, Utf16FilesAreReadAndWrittenAsUtf16) {
  // "[Font]\r\nName=日本\r\n" in UTF-16 LE and BE, each with its mark.
  const std::u16string text = u"[Font]\r\nName=\u65e5\u672c\r\n";
  for (bool be : {false, true}) {
    std::string bytes = be ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
      bytes += be ? std::string{hi, lo} : std::string{lo, hi};
    }
    auto p = dir.Write("u.ini", bytes);
    IniFile ini(p);
    EXPECT_EQ(ini.ReadString("Font", "Name", ""), "日本");
    ASSERT_TRUE(ini.WriteString("Font", "Size", "9"));
    const std::string after = ReadFile(p);
    EXPECT_EQ(after.substr(0, bytes.size()), bytes);  // mark and old lines as they were
    IniFile again(p);
    EXPECT_EQ(again.ReadString("Font", "Size", ""), "9");
    EXPECT_EQ(again.ReadString("Font", "Name", ""), "日本");
  }
  // A broken one (a lone low surrogate, or a high one followed by no low one, on either
  // side of the low range) is read but never written over.
  for (const std::string& broken : {std::string("\xFF\xFE[\0\x00\xDC", 5),
                                    std::string("\xFF\xFE\x00\xD8" "A\0", 6),
                                    std::string("\xFF\xFE\x00\xD8\xFF\xDB", 6),
                                    std::string("\xFF\xFE\x00\xD8\x00\xE0", 6)}) {
    auto p = dir.Write("bad.ini", broken);
    IniFile bad(p);
    EXPECT_FALSE(bad.WriteString("A", "b", "c"));
    EXPECT_EQ(bad.LastWrite(), IniFile::WriteState::Unwritable);
    EXPECT_EQ(ReadFile(p), broken);
  }
}

TEST_F(IniWholeTest, ABatchWritesTheFileOnceAtItsEnd) {
  auto p = dir.Write("a.ini", "[Form]\r\nLeft=1\r\n");
  IniFile ini(p);
  struct stat before {};
  ::stat(p.c_str(), &before);
  {
    IniFile::Batch batch(ini);
    for (int i = 0; i < 40; ++i) ini.WriteInteger("S" + std::to_string(i % 4), "k" + std::to_string(i), i);
    EXPECT_EQ(ReadFile(p), "[Form]\r\nLeft=1\r\n");  // nothing on disk yet
    EXPECT_EQ(ini.ReadInteger("S3", "k39", 0), 39);   // but read back from memory
    ASSERT_TRUE(batch.End());
  }
  struct stat after {};
  ::stat(p.c_str(), &after);
  EXPECT_NE(before.st_ino, after.st_ino);  // replaced by a rename, once
  IniFile again(p);
  EXPECT_EQ(again.ReadInteger("s0", "K0", 9), 0);
  EXPECT_EQ(again.ReadSectionKeys("S1").size(), 10u);
}

TEST_F(IniWholeTest, AChangeOnDiskIsSeenAtTheNextRead) {
  auto p = dir.Write("a.ini", "[ReadMax]\r\nByte=5000\r\n");
  IniFile ini(p);
  EXPECT_EQ(ini.ReadInteger("ReadMax", "Byte", 0), 5000);
  IniFile(p).WriteInteger("ReadMax", "Byte", 0);
  EXPECT_EQ(ini.ReadInteger("ReadMax", "Byte", 7), 0);
}

// Only our own marked temporaries of this file go, and only old ones: the user's files
// named like the settings file plus six characters stay, however old.
TEST_F(IniWholeTest, OnlyOurOwnStaleTemporariesAreRemoved) {
  auto p = dir.Write("a.ini", "[A]\r\n");
  auto old = dir.Write("a.ini.haruvi-tmp-Ab3xY9", "half");
  dir.Write("a.ini.haruvi-tmp-fresh1", "in progress");
  struct utimbuf long_ago {1000000000, 1000000000};
  ::utime(old.c_str(), &long_ago);
  for (const char* users : {"a.ini.bak", "a.ini.backup", "a.ini.old-01", "a.ini.NOTES1", "b.ini.haruvi-tmp-Ab3xY9"}) {
    dir.Write(users, "the user's");
    ::utime((dir / users).c_str(), &long_ago);
  }
  EXPECT_EQ(IniFile(p).RemoveStaleTemporaries(), 1);
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_TRUE(std::filesystem::exists(dir / "a.ini.haruvi-tmp-fresh1"));
  for (const char* users : {"a.ini.bak", "a.ini.backup", "a.ini.old-01", "a.ini.NOTES1", "b.ini.haruvi-tmp-Ab3xY9"})
    EXPECT_TRUE(std::filesystem::exists(dir / users)) << users;
}

// A child rewrites every key in batches, each batch with one generation number, until it
// is killed at a random moment; the file must hold one generation throughout.
TEST_F(IniWholeTest, AWriteKilledAtAnyMomentLeavesAWholeFile) {
  const std::filesystem::path p = dir / "kill.ini";
  std::mt19937 rng(7);
  for (int round = 0; round < 100; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      IniFile ini(p);
      for (int gen = round * 1000;; ++gen) {
        IniFile::Batch batch(ini);
        for (int k = 0; k < 30; ++k) ini.WriteInteger("S" + std::to_string(k % 3), "k" + std::to_string(k), gen);
        batch.End();
      }
    }
    ::usleep(1000 + rng() % 20000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    IniFile ini(p);
    if (!ini.Exists()) continue;  // killed before its first write
    const std::int32_t gen = ini.ReadInteger("S0", "k0", -1);
    ASSERT_GE(gen, 0) << "round " << round;
    for (int k = 0; k < 30; ++k)
      ASSERT_EQ(ini.ReadInteger("S" + std::to_string(k % 3), "k" + std::to_string(k), -1), gen) << "round " << round;
  }
}

}  // namespace
}  // namespace haruvi::platform
