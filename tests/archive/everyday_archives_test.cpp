// Archives as people make them with the Debian archivers and on Japanese Windows: CP932
// names whose second byte is 0x5C ("表", "ソ", "能") in ARJ, LZH and ZIP, GNU tar's "./",
// 7z, a backslash in a Linux name, and each archive cut short at ten points.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "archive/archive_file.h"
#include "archive/create.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/run_process.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::S;
using test::TempDir;

// 表 ソ 能 in CP932: each ends in 0x5C, the byte of "\".
const std::string kHyo = "\x95\x5c", kSo = "\x83\x5c", kNo = "\x94\x5c";

// Runs a shell line in `folder`; the test fails with its output when it fails.
void Shell(const std::filesystem::path& folder, const std::string& line) {
  const test::ProcessResult r = test::RunProcess("/usr/bin/bash", {"-c", "cd '" + folder.string() + "' && " + line});
  ASSERT_EQ(r.exit_code, 0) << line << "\n" << r.err;
}

// A folder "表" holding "ソ能.txt" and a plain file beside it, under the CP932 bytes of
// their names, as a Windows disk copied over keeps them.
std::map<std::string, std::string> WriteCp932Tree(const TempDir& dir, const std::string& sub) {
  dir.Write(sub + "/" + kHyo + "/" + kSo + kNo + ".txt", "so-no\n");
  dir.Write(sub + "/plain.txt", "plain\n");
  // What the names are once decoded.
  return {{"表/ソ能.txt", "so-no\n"}, {"plain.txt", "plain\n"}};
}

std::map<std::string, std::string> FilesOf(const std::filesystem::path& root) {
  std::map<std::string, std::string> out;
  for (const std::string& rel : test::TreeOf(root))
    if (std::filesystem::is_regular_file(root / rel)) out[rel] = test::ReadFile(root / rel);
  return out;
}

std::map<std::string, std::string> UnpackedFiles(const TempDir& dir, const std::string& archive, const char* into) {
  std::filesystem::remove_all(dir / into);
  std::filesystem::create_directories(dir / into);
  const UnpackResult r = Unpack(archive, (dir / into).string(), {});
  EXPECT_EQ(r.code, kOk) << r.detail;
  EXPECT_TRUE(r.refused.empty());
  return FilesOf(dir / into);
}

std::vector<std::string> Names(const Listing& l) {
  std::vector<std::string> names;
  for (const Entry& e : l.entries) names.push_back(e.name);
  return names;
}

TEST(EverydayNames, ArjOfDebianArjKeepsEachCp932CharacterWhole) {
  TempDir dir;
  const auto expected = WriteCp932Tree(dir, "src");
  Shell(dir / "src", "/usr/bin/arj a -r -y ../names.arj '*' >/dev/null");
  const Listing l = ListArchive((dir / "names.arj").string());
  ASSERT_TRUE(l.ok) << l.error;
  std::vector<std::string> names = Names(l);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"plain.txt", "表/ソ能.txt"}));
  EXPECT_EQ(UnpackedFiles(dir, (dir / "names.arj").string(), "out"), expected);
}

TEST(EverydayNames, LzhOfLevelZeroAndOneSplitsFoldersOnlyAtRealSeparators) {
  TempDir dir;
  for (int level : {0, 1}) {
    SCOPED_TRACE(level);
    const std::string path =
        dir.Write("win" + std::to_string(level) + ".lzh",
                  test::LzhOfLevel(level, {{kHyo + "\\" + kSo + kNo + ".txt", "so-no\n"},
                                     {"dir\\" + kNo + ".txt", "no\n"},
                                     {kHyo + ".txt", "hyo\n"}}))
            .string();
    const Listing l = ListArchive(path);
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(Names(l), (std::vector<std::string>{"表/ソ能.txt", "dir/能.txt", "表.txt"}));
    EXPECT_EQ(UnpackedFiles(dir, path, "out"),
              (std::map<std::string, std::string>{{"表/ソ能.txt", "so-no\n"}, {"dir/能.txt", "no\n"}, {"表.txt", "hyo\n"}}));
  }
}

TEST(EverydayNames, OurLzhIsReadByTheDebianLhaReaderWithTheSameNames) {
  TempDir dir;
  dir.Write("src/表/ソ能.txt", "so-no\n");
  const CreateResult made = CreateArchive(CreateFormat::kLzh, (dir / "ours.lzh").string(), {"表"}, (dir / "src").string());
  ASSERT_EQ(made.code, kOk) << made.detail;
  // lhasa writes the names as stored: CP932 bytes, folders as stored.
  std::filesystem::create_directories(dir / "lhasa");
  Shell(dir / "lhasa", "/usr/bin/lhasa xq ../ours.lzh");
  EXPECT_EQ(FilesOf(dir / "lhasa"), (std::map<std::string, std::string>{{kHyo + "/" + kSo + kNo + ".txt", "so-no\n"}}));
  EXPECT_EQ(UnpackedFiles(dir, (dir / "ours.lzh").string(), "back"),
            (std::map<std::string, std::string>{{"表/ソ能.txt", "so-no\n"}}));
}

TEST(EverydayNames, ZipOfCp932BytesIsDecodedBeforeItsFoldersAreSplit) {
  TempDir dir;
  const auto expected = WriteCp932Tree(dir, "src");
  Shell(dir / "src", "/usr/bin/zip -q -r ../names.zip .");
  const Listing l = ListArchive((dir / "names.zip").string());
  ASSERT_TRUE(l.ok) << l.error;
  EXPECT_EQ(UnpackedFiles(dir, (dir / "names.zip").string(), "out"), expected);
}

TEST(EverydayNames, ABackslashInALinuxTarNameIsPartOfTheName) {
  TempDir dir;
  const std::string path = (dir / "unix.tar").string();
  test::WriteRawArchive(path, {{"dir\\name.txt", "one"}, {"sub/a\\b", "two"}});
  const Listing l = ListArchive(path);
  EXPECT_EQ(Names(l), (std::vector<std::string>{"dir\\name.txt", "sub/a\\b"}));
  EXPECT_EQ(UnpackedFiles(dir, path, "out"),
            (std::map<std::string, std::string>{{"dir\\name.txt", "one"}, {"sub/a\\b", "two"}}));
}

TEST(EverydayNames, ZipMadeOfNamesThatAreNotUtf8KeepsTheirBytes) {
  TempDir dir;
  const auto expected = WriteCp932Tree(dir, "src");
  dir.Write("src/日本.txt", "utf8\n");
  const CreateResult made =
      CreateArchive(CreateFormat::kZip, (dir / "out.zip").string(), {kHyo, "plain.txt", "日本.txt"}, (dir / "src").string());
  ASSERT_EQ(made.code, kOk) << made.detail;
  EXPECT_TRUE(made.skipped.empty());
  // Stored as the bytes they are: Debian's unzip writes them back unchanged.
  std::filesystem::create_directories(dir / "unzip");
  Shell(dir / "unzip", "/usr/bin/unzip -q ../out.zip");
  std::map<std::string, std::string> raw = {{kHyo + "/" + kSo + kNo + ".txt", "so-no\n"}, {"plain.txt", "plain\n"},
                                            {"日本.txt", "utf8\n"}};
  EXPECT_EQ(FilesOf(dir / "unzip"), raw);
  // Our reader reads them by its CP932 rule, the UTF-8 name as it is.
  std::map<std::string, std::string> decoded = expected;
  decoded["日本.txt"] = "utf8\n";
  EXPECT_EQ(UnpackedFiles(dir, (dir / "out.zip").string(), "back"), decoded);
}

}  // namespace
}  // namespace haruvi::archive
