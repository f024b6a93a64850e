// Folder listings of the browsing views: mask filtering, column texts and item order.
#include <gtest/gtest.h>

#include "shellview/listing.h"
#include "support/temp_dir.h"

namespace haruvi::shellview {
namespace {

FileEntry File(const char* name) { return FileEntry{name, std::string("/x/") + name}; }

TEST(Mask, ShowsFoldersAndMatchingExtensionsOnly) {
  const auto mask = ParseMask("txt;bmp");
  EXPECT_EQ(mask, (std::vector<std::string>{".TXT", ".BMP"}));
  EXPECT_TRUE(MaskAccepts(File("a.TXT"), mask));
  EXPECT_TRUE(MaskAccepts(File("b.bmp"), mask));
  EXPECT_FALSE(MaskAccepts(File("c"), mask));
  EXPECT_FALSE(MaskAccepts(File("d.text"), mask));
  EXPECT_FALSE(MaskAccepts(File("e."), mask));
  FileEntry folder = File("folder");
  folder.is_dir = true;
  EXPECT_TRUE(MaskAccepts(folder, mask));
  EXPECT_TRUE(MaskAccepts(File("anything"), {}));
}

TEST(Mask, AcceptsTheUsualSpellings) {
  EXPECT_EQ(ParseMask("*.txt *.BMP"), (std::vector<std::string>{".TXT", ".BMP"}));
  EXPECT_EQ(ParseMask(".c, .h"), (std::vector<std::string>{".C", ".H"}));
  EXPECT_TRUE(ParseMask(" ; ,").empty());
}

TEST(ColumnTexts, SizeIsRightAlignedInSixteenAndTimeIsShort) {
  EXPECT_EQ(SizeText(0), "               0");
  EXPECT_EQ(SizeText(4294967296ULL), "   4,294,967,296");  // 4 GB and more shown whole
  EXPECT_EQ(TimeText(0).size(), 14u);
  EXPECT_EQ(TimeText(0)[2], '/');
  EXPECT_EQ(TimeText(0)[8], ' ');
  EXPECT_EQ(TimeText(0)[11], ':');
}

TEST(ItemOrder, FoldersFirstThenNamesWithoutCase) {
  FileEntry b = File("b"), a = File("A"), z = File("z");
  z.is_dir = true;
  EXPECT_LT(CompareItems(z, a), 0);
  EXPECT_LT(CompareItems(a, b), 0);
  EXPECT_GT(CompareItems(File("a"), File("A")), 0);  // ties fall back to byte order
  EXPECT_EQ(CompareItems(a, a), 0);
}

TEST(Paths, ParentAndTrailingSlash) {
  EXPECT_EQ(ParentFolder("/home/user/docs"), "/home/user");
  EXPECT_EQ(ParentFolder("/home/user/"), "/home");
  EXPECT_EQ(ParentFolder("/home"), "/");
  EXPECT_EQ(ParentFolder("/"), "/");
  EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
  EXPECT_EQ(WithTrailingSlash("/"), "/");
}

TEST(ListFolder, HiddenEntriesLinksAndSubfolders) {
  test::TempDir dir;
  dir.Write(".hidden", "x");
  dir.Write("file.txt", "hello");
  dir.Write("sub/inner/x", "");
  std::filesystem::create_directory_symlink(dir / "sub", dir / "link");
  std::vector<FileEntry> all;
  ASSERT_TRUE(ListFolder(dir.path().string(), all));
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].name, "link");  // folders (a link to one counts) first
  EXPECT_TRUE(all[0].is_link);
  EXPECT_EQ(all[1].name, "sub");
  EXPECT_EQ(all[2].name, ".hidden");
  EXPECT_EQ(all[3].size, 5u);
  std::vector<FileEntry> subs;
  ASSERT_TRUE(ListSubfolders(dir.path().string(), subs));
  EXPECT_EQ(subs.size(), 2u);
  EXPECT_TRUE(HasSubfolder(dir.path().string()));
  EXPECT_TRUE(HasSubfolder((dir / "sub").string()));
  EXPECT_FALSE(HasSubfolder((dir / "sub/inner").string()));
  EXPECT_FALSE(ListFolder((dir / "missing").string(), all));
  EXPECT_TRUE(all.empty());
}

}  // namespace
}  // namespace haruvi::shellview
