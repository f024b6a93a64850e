// Reading the settings file: the integer rule, names without case, raw values, missing files.
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

TEST(IniIntegerRule, AcceptsDecimalDollarAndZeroXForms) {
  struct Row { const char* text; std::optional<std::int32_t> want; } rows[] = {
      {"42", 42},        {"-5", -5},          {"+7", 7},          {"  12 ", 12},
      {"$1A", 26},       {"$ff", 255},        {"0x1A", 26},       {"0X1a", 26},
      {"$80000008", static_cast<std::int32_t>(0x80000008u)},
      {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
  };
  for (const Row& r : rows) EXPECT_EQ(ParseIniInteger(r.text), r.want) << r.text;
}

TEST(IniIntegerRule, RefusesEverythingElse) {
  for (const char* bad : {"", " ", "abc", "12abc", "0x", "$", "1.5", "2147483648",
                          "-2147483649", "$123456789", "0xG1", "--1", "1 2", "99999999999"})
    EXPECT_EQ(ParseIniInteger(bad), std::nullopt) << bad;
}

class IniReadTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  IniFile Make(std::string_view content) { return IniFile(dir.Write("a.ini", content)); }
};

TEST_F(IniReadTest, SectionsAndKeysCompareWithoutCase) {
  IniFile ini = Make("[Form]\nLeft=10\n[menu]\nMDISP=0\n");
  EXPECT_EQ(ini.ReadInteger("FORM", "left", -1), 10);
  EXPECT_FALSE(ini.ReadBool("Menu", "Mdisp", true));
}

TEST_F(IniReadTest, NonNumbersFallBackToTheDefault) {
  IniFile ini = Make("[Form]\nLeft=ten\nTop=\nWidth=$20\nHeight=0x10\n");
  EXPECT_EQ(ini.ReadInteger("Form", "Left", 77), 77);
  EXPECT_EQ(ini.ReadInteger("Form", "Top", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Form", "Width", 0), 32);
  EXPECT_EQ(ini.ReadInteger("Form", "Height", 0), 16);
}

TEST_F(IniReadTest, BooleansAreAnyNonZeroInteger) {
  IniFile ini = Make("[Menu]\na=1\nb=0\nc=2\nd=-1\ne=yes\n");
  EXPECT_TRUE(ini.ReadBool("Menu", "a", false));
  EXPECT_FALSE(ini.ReadBool("Menu", "b", true));
  EXPECT_TRUE(ini.ReadBool("Menu", "c", false));
  EXPECT_TRUE(ini.ReadBool("Menu", "d", false));
  EXPECT_TRUE(ini.ReadBool("Menu", "e", true));   // not a number: default
  EXPECT_FALSE(ini.ReadBool("Menu", "e", false));
}

TEST_F(IniReadTest, ValuesKeepHashMarksBlanksAndEqualSigns) {
  IniFile ini = Make("[Grep]\nItems_0=#C:\\My Docs\\#\nItems_1=  two  blanks  \nurl=a=b;c\n");
  EXPECT_EQ(ini.ReadString("Grep", "Items_0", ""), "#C:\\My Docs\\#");
  EXPECT_EQ(ini.ReadString("Grep", "Items_1", ""), "  two  blanks  ");
  EXPECT_EQ(ini.ReadString("Grep", "url", ""), "a=b;c");
}

TEST_F(IniReadTest, CrLfFilesBomAndUtf8ValuesReadCleanly) {
  IniFile ini = Make("\xEF\xBB\xBF[FontR]\r\nName=ＭＳ ゴシック\r\nSize=12\r\n");
  EXPECT_EQ(ini.ReadString("FontR", "Name", ""), "ＭＳ ゴシック");
  EXPECT_EQ(ini.ReadInteger("FontR", "Size", 0), 12);
}

TEST_F(IniReadTest, FirstSectionAndFirstKeyWin) {
  IniFile ini = Make("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nonly=5\n");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadInteger("B", "k", 0), 3);
  EXPECT_EQ(ini.ReadInteger("A", "only", 0), 0);  // a later section of the name is not read
}

// Reads between writes see every write, in a file of many keys read one by one.
TEST_F(IniReadTest, ReadsBetweenWritesSeeEachWrite) {
  std::string text = "[Exe]\n";
  for (int i = 0; i < 2000; ++i) text += "File" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  IniFile ini = Make(text);
  for (int i = 0; i < 2000; i += 97) EXPECT_EQ(ini.ReadInteger("exe", "file" + std::to_string(i), -1), i);
  ini.WriteInteger("Exe", "File5", 55);
  ini.WriteInteger("Exe", "New", 7);
  EXPECT_EQ(ini.ReadInteger("Exe", "File5", 0), 55);
  EXPECT_EQ(ini.ReadInteger("Exe", "New", 0), 7);
  EXPECT_EQ(ini.ReadInteger("Exe", "File1999", 0), 1999);
  ini.DeleteKey("Exe", "File5");
  EXPECT_EQ(ini.ReadInteger("Exe", "File5", -1), -1);
}

TEST_F(IniReadTest, CommentsAndJunkLinesAreNotKeys) {
  IniFile ini = Make("; comment=1\n[S]\n;k=1\ngarbage line\n  k = 5\n[broken\nz=9\n");
  EXPECT_EQ(ini.ReadInteger("S", "k", 0), 5);
  EXPECT_EQ(ini.ReadSectionKeys("S"), (std::vector<std::string>{"k", "z"}));
}

TEST_F(IniReadTest, MissingFileReadsAsAFileWithoutKeys) {
  IniFile ini(dir / "none.ini");
  EXPECT_FALSE(ini.Exists());
  EXPECT_EQ(ini.ReadString("File", "Save", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Form", "Left", 3), 3);
  EXPECT_EQ(ini.ReadValue("Form", "Left"), std::nullopt);
  EXPECT_FALSE(ini.SectionExists("Form"));
}

TEST_F(IniReadTest, UnreadableFileReadsAsAFileWithoutKeys) {
  IniFile folder_not_file(dir.path());
  EXPECT_EQ(folder_not_file.ReadInteger("Form", "Left", 3), 3);
}

TEST_F(IniReadTest, ReadsWhileStandardInputIsClosed) {
  // Started from a launcher without standard input, the file may get descriptor 0.
  IniFile ini = Make("[S]\nk=4\n");
  const int saved = ::dup(0);
  ASSERT_GE(saved, 0);
  ::close(0);
  const std::int32_t k = ini.ReadInteger("S", "k", 0);
  const bool written = ini.WriteInteger("S", "k", 5);
  const std::int32_t k_after = ini.ReadInteger("S", "k", 0);
  ::dup2(saved, 0);
  ::close(saved);
  EXPECT_EQ(k, 4);
  EXPECT_TRUE(written);
  EXPECT_EQ(k_after, 5);
}

TEST_F(IniReadTest, ArbitraryBytesNeverCrash) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  IniFile ini = Make(junk + "\n[S]\nk=1");
  EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
}

}  // namespace
}  // namespace haruvi::platform
