// The internal "dir" listing on a prepared tree: TForm7's command text, attribute
// filters, sort orders, recursion, the bare, wide and lower-case forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "support/temp_dir.h"
#include "systools/dir_listing.h"

namespace haruvi::systools {
namespace {

namespace fs = std::filesystem;

class DirTree : public ::testing::Test {
 protected:
  void SetUp() override {
    Make("b.txt", 300, 3);
    Make("A.log", 10, 1);
    Make("c.dat", 2000, 2);
    Make(".hidden", 5, 4);
    Make("ro.txt", 7, 5);
    fs::permissions(root() / "ro.txt", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(root() / "sub");
    std::ofstream(root() / "sub" / "inner.txt") << "12345";
  }
  fs::path root() const { return dir.path(); }
  void Make(const char* name, size_t size, int hours_old) {
    std::ofstream(root() / name) << std::string(size, 'x');
    fs::last_write_time(root() / name, fs::file_time_type::clock::now() - std::chrono::hours(hours_old));
  }
  std::string List(const std::string& switches) {
    const DirListing l = ListDirectory(ParseDirCommand("\"" + root().string() + "\"" + switches));
    EXPECT_EQ(l.error, "");
    return l.text;
  }
  // The names in the order the listing shows them.
  static std::vector<std::string> Names(const std::string& text) {
    std::vector<std::string> out;
    static const std::regex kLine(R"(^\d{4}/\d\d/\d\d  \d\d:\d\d +(?:<DIR>|[\d,]+) +(?:\S+  \d{4}/\d\d/\d\d  \d\d:\d\d )?(.+)$)");
    std::istringstream in(text);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
      if (std::regex_match(line, m, kLine)) out.push_back(m[1]);
    return out;
  }
  test::TempDir dir;
};

TEST(DirCommand, SwitchesBuildTheCommandTextInOrder) {
  EXPECT_EQ(DirCommandText("/tmp", {}), "\"/tmp\"     ");
  EXPECT_EQ(DirCommandText("/tmp", {0, 2, false, 0, false}), "\"/tmp\"  /O:-N   ");
  EXPECT_EQ(DirCommandText("/a b", {2, 9, true, 3, true}), "\"/a b\" /A:-D /O:G /S /W /L");
  EXPECT_EQ(AttributeItems().size(), 11u);
  EXPECT_EQ(SortItems().size(), 13u);
}

TEST(DirCommand, ReadingBackTakesPathsWithBlanksAndAnyCase) {
  DirRequest r = ParseDirCommand("\"/a b\" /A:-D /O:G /S /W /L ");
  EXPECT_EQ(r.path, "/a b");
  ASSERT_EQ(r.attributes.size(), 1u);
  EXPECT_EQ(r.attributes[0].letter, 'D');
  EXPECT_TRUE(r.attributes[0].negated);
  EXPECT_TRUE(r.subfolders);
  EXPECT_EQ(r.form, DirForm::Wide);
  EXPECT_TRUE(r.lower);
  r = ParseDirCommand("/home/my docs /o-s /b");
  EXPECT_EQ(r.path, "/home/my docs");
  ASSERT_EQ(r.sort.size(), 1u);
  EXPECT_EQ(r.sort[0].letter, 'S');
  EXPECT_TRUE(r.sort[0].reversed);
  EXPECT_EQ(r.form, DirForm::Bare);
  EXPECT_EQ(ParseDirCommand("/tmp /Q").error, "/Q");
  EXPECT_FALSE(ListDirectory(ParseDirCommand("/tmp /A:Z")).error.empty());
}

TEST_F(DirTree, PlainListingHidesHiddenEntriesAndSortsByName) {
  const std::string text = List("");
  EXPECT_EQ(Names(text), (std::vector<std::string>{".", "..", "A.log", "b.txt", "c.dat", "ro.txt", "sub"}));
  EXPECT_NE(text.find(" " + root().string() + " のディレクトリ"), std::string::npos);
  EXPECT_NE(text.find("4 個のファイル"), std::string::npos);
  EXPECT_NE(text.find("2,317 バイト"), std::string::npos);
  EXPECT_NE(text.find("バイトの空き領域"), std::string::npos);
}

TEST_F(DirTree, AttributeSwitchesFilter) {
  EXPECT_EQ(Names(List(" /A:H")), (std::vector<std::string>{".hidden"}));
  // Naming attributes lists hidden entries as well, as the old command does.
  EXPECT_EQ(Names(List(" /A:-D")), (std::vector<std::string>{".hidden", "A.log", "b.txt", "c.dat", "ro.txt"}));
  EXPECT_EQ(Names(List(" /A:D")), (std::vector<std::string>{".", "..", "sub"}));
  EXPECT_EQ(Names(List(" /A:R")), (std::vector<std::string>{"ro.txt"}));
  EXPECT_EQ(Names(List(" /A:-R /A:-D")).size(), 4u);
  EXPECT_EQ(Names(List(" /A")).size(), 8u);  // hidden entries too
}

TEST_F(DirTree, SortSwitchesOrder) {
  EXPECT_EQ(Names(List(" /O:-N /A:-D-H")), (std::vector<std::string>{"ro.txt", "c.dat", "b.txt", "A.log"}));
  EXPECT_EQ(Names(List(" /O:S /A:-D-H")), (std::vector<std::string>{"ro.txt", "A.log", "b.txt", "c.dat"}));
  EXPECT_EQ(Names(List(" /O:-S /A:-D-H")), (std::vector<std::string>{"c.dat", "b.txt", "A.log", "ro.txt"}));
  EXPECT_EQ(Names(List(" /O:E /A:-D-H")), (std::vector<std::string>{"c.dat", "A.log", "b.txt", "ro.txt"}));
  EXPECT_EQ(Names(List(" /O:D /A:-D-H")), (std::vector<std::string>{"ro.txt", "b.txt", "c.dat", "A.log"}));
  EXPECT_EQ(Names(List(" /O:G")).at(2), "sub");
  EXPECT_EQ(Names(List(" /O:-G")).back(), "sub");
}

TEST_F(DirTree, SubfoldersAreListedAfterTheirParentWithGrandTotals) {
  const std::string text = List(" /S");
  const size_t sub = text.find(" " + (root() / "sub").string() + " のディレクトリ");
  ASSERT_NE(sub, std::string::npos);
  EXPECT_GT(sub, text.find("ro.txt"));
  EXPECT_NE(text.find("inner.txt", sub), std::string::npos);
  EXPECT_NE(text.find("ファイルの総数:"), std::string::npos);
  EXPECT_NE(text.find("5 個のファイル"), std::string::npos);
}

TEST_F(DirTree, BareWideLowerAndVerboseForms) {
  EXPECT_EQ(List(" /B"), "A.log\nb.txt\nc.dat\nro.txt\nsub\n");
  EXPECT_EQ(List(" /B /L /A:-D-H"), "a.log\nb.txt\nc.dat\nro.txt\n");
  EXPECT_NE(List(" /B /S").find((root() / "sub" / "inner.txt").string() + "\n"), std::string::npos);
  const std::string wide = List(" /W");
  EXPECT_NE(wide.find("[sub]"), std::string::npos);
  EXPECT_NE(wide.find("A.log"), std::string::npos);
  EXPECT_EQ(wide.find("<DIR>"), std::string::npos);
  const std::string verbose = List(" /V /A:R");
  EXPECT_NE(verbose.find(" R--A "), std::string::npos);
}

TEST_F(DirTree, PatternsAndMissingPaths) {
  const DirListing l = ListDirectory(ParseDirCommand((root() / "*.txt").string()));
  EXPECT_EQ(Names(l.text), (std::vector<std::string>{"b.txt", "ro.txt"}));
  EXPECT_FALSE(ListDirectory(ParseDirCommand((root() / "nothing").string())).error.empty());
  EXPECT_FALSE(ListDirectory(ParseDirCommand("/no/such/place")).error.empty());
}

TEST_F(DirTree, AStopFlagEndsTheListing) {
  std::atomic<bool> stop{true};
  EXPECT_TRUE(ListDirectory(ParseDirCommand(root().string() + " /S"), &stop).stopped);
}

}  // namespace
}  // namespace haruvi::systools
