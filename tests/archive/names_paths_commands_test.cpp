// The small rules the archive code leans on: which entry names stay inside the folder,
// which link targets do, how entry names in CP932, EUC and UTF-8 read, and how the
// stand-in libraries read their command lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "archive/name_codec.h"
#include "archive/safe_paths.h"
#include "archive/standin/standin.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::S;

TEST(InsideNames, PartsAreKeptAndEscapesRefused) {
  std::vector<std::string> parts;
  EXPECT_TRUE(SplitInsideName("a/./b//c.txt", &parts));
  EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "c.txt"}));
  EXPECT_TRUE(SplitInsideName("dir/", &parts));
  EXPECT_EQ(parts, std::vector<std::string>{"dir"});
  for (const char* bad : {"", "/etc/passwd", "..", "../x", "a/../../x", "a/..", "./", "."})
    EXPECT_FALSE(SplitInsideName(bad, &parts)) << bad;
  EXPECT_FALSE(SplitInsideName(std::string("a\0b", 3), &parts));
  // "..." and "..a" are ordinary names.
  EXPECT_TRUE(SplitInsideName(".../..a", &parts));
}

TEST(InsideNames, LinkTargetsMayNeverClimbAboveTheFolder) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "root/stage/a/b");
  const int root = ::open((dir / "root").c_str(), O_RDONLY | O_DIRECTORY);
  const int stage = ::open((dir / "root/stage").c_str(), O_RDONLY | O_DIRECTORY);
  const LinkView view{stage, root, false};
  EXPECT_TRUE(view.StaysInside({}, "file"));
  EXPECT_TRUE(view.StaysInside({"a", "b"}, "../../c"));
  EXPECT_TRUE(view.StaysInside({"a"}, "../a/./x"));
  EXPECT_FALSE(view.StaysInside({}, ".."));
  EXPECT_FALSE(view.StaysInside({"a"}, "../../x"));
  // Down and up again still counts every step: a/link -> b/../../../x leaves.
  EXPECT_FALSE(view.StaysInside({"a"}, "b/../../../x"));
  // Below a name not there yet no ".." may follow: a later entry could make it a link.
  EXPECT_FALSE(view.StaysInside({}, "later/../x"));
  EXPECT_FALSE(view.StaysInside({}, "/etc"));
  EXPECT_FALSE(view.StaysInside({}, ""));
  ::close(stage);
  ::close(root);
}

TEST(InsideNames, CollidingNamesGetTheCopyEnginesNumber) {
  test::TempDir dir;
  dir.Write("a.txt", "");
  dir.Write("a (2).txt", "");
  dir.Write("noext", "");
  dir.Write(".hidden", "");
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  EXPECT_EQ(FreeNameIn(fd, "b.txt"), "b.txt");
  EXPECT_EQ(FreeNameIn(fd, "a.txt"), "a (3).txt");
  EXPECT_EQ(FreeNameIn(fd, "noext"), "noext (2)");
  EXPECT_EQ(FreeNameIn(fd, ".hidden"), ".hidden (2)");
  ::close(fd);
}

TEST(NameCodec, EachArchivesNamesReadInTheirCode) {
  NameCodec sjis;
  sjis.Learn(S("表示.txt"));
  EXPECT_EQ(sjis.ToDisk(S("表示.txt")), "表示.txt");
  EXPECT_EQ(sjis.Code(), encoding::ccSjis);
  NameCodec euc;
  euc.Learn("\xC6\xFC\xCB\xDC.txt");  // 日本 in EUC-JP
  EXPECT_EQ(euc.ToDisk("\xC6\xFC\xCB\xDC.txt"), "日本.txt");
  NameCodec utf8;
  utf8.Learn("日本.txt");
  EXPECT_EQ(utf8.ToDisk("日本.txt"), "日本.txt");
  // A Windows separator becomes "/", a 0x5C second byte does not.
  EXPECT_EQ(sjis.ToDisk("dir\\a.txt"), "dir/a.txt");
  // Bytes that read as nothing stay bytes (the disk takes any).
  const std::string junk = "\xFF\xFE.bin";
  EXPECT_EQ(NameCodec().ToDisk(junk), junk);
  EXPECT_EQ(NameCodec::ToPane("日本.txt"), S("日本.txt"));
}

TEST(StandinCommands, EachStyleFindsWordArchiveFolderAndFiles) {
  using standin::Style;
  standin::LibraryTraits lha{"UNLHA32.DLL", Style::kLha, {}, true};
  standin::Command c;
  ASSERT_TRUE(standin::ParseCommand(lha, "x -+ -x1 \"/a b/x.lzh\" \"/out dir/\" \"f 1.txt\" g.txt", &c));
  EXPECT_EQ(c.op, 'x');
  EXPECT_EQ(c.archive, "/a b/x.lzh");
  EXPECT_EQ(c.folder, "/out dir/");
  EXPECT_EQ(c.files, (std::vector<std::string>{"f 1.txt", "g.txt"}));
  ASSERT_TRUE(standin::ParseCommand(lha, "e \"x.lzh\" \"out\\\"", &c));
  EXPECT_TRUE(c.flat);
  EXPECT_EQ(c.folder, "out\\");
  standin::LibraryTraits zip{"ZIP32J.DLL", Style::kZipPack, {}, true};
  ASSERT_TRUE(standin::ParseCommand(zip, " -D -r \"x.zip\" \"a.txt\"", &c));
  EXPECT_EQ(c.op, 'a');
  EXPECT_EQ(c.archive, "x.zip");
  standin::LibraryTraits tar{"tar32.dll", Style::kTar, {}, true};
  ASSERT_TRUE(standin::ParseCommand(tar, "c -z9 -f \"x.tgz\" -o \"base/\" \"a\"", &c));
  EXPECT_EQ(c.op, 'a');
  EXPECT_TRUE(c.fresh);
  EXPECT_EQ(c.tar_filter, 'z');
  EXPECT_EQ(c.archive, "x.tgz");
  EXPECT_EQ(c.folder, "base/");
  EXPECT_EQ(c.files, std::vector<std::string>{"a"});
  standin::LibraryTraits rar{"UNRAR32.DLL", Style::kRar, {}, false};
  ASSERT_TRUE(standin::ParseCommand(rar, "-e -u \"x.rar\" \"o/\"", &c));
  EXPECT_EQ(c.op, 'x');
  EXPECT_TRUE(c.flat);
  // A quoted word is a name, though it starts like a switch.
  ASSERT_TRUE(standin::ParseCommand(lha, "a -x1 \"x.lzh\" \"-dash.txt\" \"--\" -r", &c));
  EXPECT_EQ(c.files, (std::vector<std::string>{"-dash.txt", "--"}));
  // Lines a library does not understand.
  for (const char* bad : {"", "   ", "q x.lzh", "xx x.lzh", "x", "x -+ -x1"}) EXPECT_FALSE(standin::ParseCommand(lha, bad, &c)) << bad;
}

TEST(StandinCommands, ResultCodesForWhatCannotRun) {
  standin::LibraryTraits lha{"UNLHA32.DLL", standin::Style::kLha, {ArchiveFamily::kLzh}, true};
  char out[64];
  EXPECT_EQ(standin::RunCommand(lha, "q x", out, sizeof out), kErrCommand);
  EXPECT_EQ(standin::RunCommand(lha, nullptr, out, sizeof out), kErrCommand);
  EXPECT_EQ(standin::RunCommand(lha, "l \"/no/such.lzh\"", out, sizeof out), kErrNotArchive);
  standin::LibraryTraits unrar{"UNRAR32.DLL", standin::Style::kRar, {ArchiveFamily::kRar}, false};
  EXPECT_EQ(standin::RunCommand(unrar, "-a \"x.rar\" \"f\"", out, sizeof out), kErrNotSupported);
  EXPECT_EQ(standin::CheckArchive(lha, "\"/no/such.lzh\""), 0);
  EXPECT_EQ(standin::FindFirst(nullptr, "*", nullptr), -1);
}

}  // namespace
}  // namespace haruvi::archive
