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

TEST(EverydayTar, GnuTarOfTheCurrentFolderUnpacksWithNothingRefused) {
  TempDir dir;
  dir.Write("src/a.txt", "a");
  dir.Write("src/sub/b.txt", "b");
  Shell(dir / "src", "/usr/bin/tar czf ../x.tgz .");
  const Listing l = ListArchive((dir / "x.tgz").string());
  ASSERT_TRUE(l.ok) << l.error;
  EXPECT_EQ(l.entries.front().name, "./");
  std::filesystem::create_directories(dir / "out");
  const UnpackResult r = Unpack((dir / "x.tgz").string(), (dir / "out").string(), {});
  EXPECT_EQ(r.code, kOk) << r.detail;
  EXPECT_TRUE(r.refused.empty());
  EXPECT_EQ(r.files, 2u);
  EXPECT_EQ(FilesOf(dir / "out"), (std::map<std::string, std::string>{{"a.txt", "a"}, {"sub/b.txt", "b"}}));
  // A file cannot stand for the target itself.
  test::WriteRawArchive((dir / "dot.tar").string(), {{".", "x"}, {"c.txt", "c"}});
  const UnpackResult dot = Unpack((dir / "dot.tar").string(), (dir / "out").string(), {});
  ASSERT_EQ(dot.refused.size(), 1u);
  EXPECT_EQ(dot.refused[0].why, Refusal::kTargetItself);
  EXPECT_EQ(test::ReadFile(dir / "out/c.txt"), "c");
}

TEST(Everyday7z, ListsAndUnpacksThroughTheCoreAndTheTarLibrary) {
  TempDir dir;
  dir.Write("src/a.txt", std::string(5000, 'a'));
  dir.Write("src/日本/b.txt", "b");
  Shell(dir / "src", "/usr/bin/7z a -bd ../x.7z . >/dev/null");
  const Listing l = ListArchive((dir / "x.7z").string());
  ASSERT_TRUE(l.ok) << l.error;
  EXPECT_EQ(l.family, ArchiveFamily::k7z);
  const std::map<std::string, std::string> want = {{"a.txt", std::string(5000, 'a')}, {"日本/b.txt", "b"}};
  EXPECT_EQ(UnpackedFiles(dir, (dir / "x.7z").string(), "out"), want);
  // The window's path: the component finds a library for it by its content.
  TArchiveFile f;
  f.SetFileName((dir / "x.7z").string());
  ASSERT_NE(f.CheckArchive(1, 4), 0);
  f.Options.Set("x", 1);
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "via").string()), kOk) << f.GetOutput();
  EXPECT_EQ(FilesOf(dir / "via"), want);
}

// Each archive cut at ten points: the listing holds only entries of the whole one, in
// order, and says the damage; an unpacking writes only whole files, byte for byte, and
// says what it could not read.
TEST(CutArchives, TenCutsOfEachListWhatWasReadAndKeepOnlySoundFiles) {
  TempDir dir;
  std::string big;
  for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i * 7919 % 10007) + "\n";
  dir.Write("src/first.txt", big);
  dir.Write("src/second.txt", big.substr(100, 20000));
  dir.Write("src/third.txt", "third");
  const std::map<std::string, std::string> whole = FilesOf(dir / "src");
  Shell(dir / "src", "/usr/bin/zip -q ../a.zip first.txt second.txt third.txt");
  Shell(dir / "src", "/usr/bin/tar czf ../a.tgz first.txt second.txt third.txt");
  Shell(dir / "src", "/usr/bin/7z a -bd ../a.7z first.txt second.txt third.txt >/dev/null");
  Shell(dir / "src", "/usr/bin/arj a -y ../a.arj first.txt second.txt third.txt >/dev/null");
  ASSERT_EQ(CreateArchive(CreateFormat::kLzh, (dir / "a.lzh").string(), {"first.txt", "second.txt", "third.txt"},
                          (dir / "src").string())
                .code,
            kOk);
  for (const char* name : {"a.zip", "a.tgz", "a.7z", "a.arj", "a.lzh"}) {
    const std::string bytes = test::ReadFile(dir / name);
    const std::vector<std::string> all = Names(ListArchive((dir / name).string()));
    ASSERT_EQ(all.size(), 3u) << name;
    for (int k = 1; k <= 10; ++k) {
      const std::size_t cut = bytes.size() * static_cast<std::size_t>(k) / 11;
      SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(cut));
      const std::string path = dir.Write("cut", bytes.substr(0, cut)).string();
      const Listing l = ListArchive(path);
      const std::vector<std::string> got = Names(l);
      ASSERT_LE(got.size(), all.size());
      EXPECT_TRUE(std::equal(got.begin(), got.end(), all.begin()));
      if (l.ok) {
        EXPECT_EQ(got, all);
      } else {
        EXPECT_FALSE(l.error.empty());
      }
      std::filesystem::remove_all(dir / "out");
      std::filesystem::create_directories(dir / "out");
      const UnpackResult r = Unpack(path, (dir / "out").string(), {});
      for (const auto& [file, data] : FilesOf(dir / "out")) EXPECT_EQ(data, whole.at(file)) << file;
      EXPECT_EQ(r.files, FilesOf(dir / "out").size());
      if (!l.ok) {
        EXPECT_NE(r.code, kOk);
      }
      if (r.code != kOk) {
        EXPECT_FALSE(r.detail_ja.empty());
      }
      if (r.code != kOk && !r.damaged) {
        EXPECT_TRUE(FilesOf(dir / "out").empty());
      }
    }
  }
}

// What an unpacking reports: each refused entry with its reason, each kept one, each
// written one, and a total of the written only.
TEST(UnpackReports, RefusedKeptAndWrittenEntriesAndTheirTotal) {
  TempDir dir;
  const std::string path = (dir / "mixed.tar").string();
  test::WriteRawArchive(path, {{"./", "", AE_IFDIR}, {"../evil.txt", "e"}, {"new.txt", "n"}, {"old.txt", "o"}});
  dir.Write("out/old.txt", "before");
  const UnpackResult r = Unpack(path, (dir / "out").string(), {});
  EXPECT_EQ(r.code, kErrAlreadyExists);
  ASSERT_EQ(r.refused.size(), 1u);
  EXPECT_EQ(r.refused[0].name, "../evil.txt");
  EXPECT_EQ(r.refused[0].why, Refusal::kOutside);
  EXPECT_EQ(r.kept, std::vector<std::string>{"old.txt"});
  EXPECT_EQ(r.written, std::vector<std::string>{"new.txt"});
  EXPECT_EQ(r.files, 1u);
  EXPECT_EQ(test::ReadFile(dir / "out/old.txt"), "before");

  // The libraries' report, as the window shows it.
  std::filesystem::remove(dir / "out/new.txt");
  TArchiveFile f;
  f.SetFileName(path);
  f.Options.Set("x", 1);
  f.OutputSize = 1 << 16;
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "out").string()), kErrAlreadyExists);
  const std::string text = f.GetOutput();
  EXPECT_NE(text.find("new.txt\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(S("../evil.txt : 展開先フォルダーの外を指しています。展開しませんでした\r\n")), std::string::npos);
  EXPECT_NE(text.find(S("old.txt : 既に存在するため展開しませんでした\r\n")), std::string::npos);
  EXPECT_NE(text.find(S(" : 1 個のファイルを展開しました\r\n")), std::string::npos);
  // Everything already there: nothing written, and the total says so.
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "out").string()), kErrAlreadyExists);
  EXPECT_NE(f.GetOutput().find(S(" : 0 個のファイルを展開しました\r\n")), std::string::npos) << f.GetOutput();
  EXPECT_EQ(f.GetOutput().find("new.txt\r\n"), std::string::npos);
}

TEST(UnpackReports, ANameTooLongForTheDiskIsRefusedWithTheSystemsReason) {
  TempDir dir;
  // 100 kanji: 200 bytes in CP932, 300 in UTF-8, past the 255 a name may take.
  std::string name;
  for (int i = 0; i < 100; ++i) name += kHyo;
  const std::string path = dir.Write("long.lzh", test::LzhOfLevel(0, {{name, "x"}, {"ok.txt", "y"}})).string();
  std::filesystem::create_directories(dir / "out");
  const UnpackResult r = Unpack(path, (dir / "out").string(), {});
  ASSERT_EQ(r.refused.size(), 1u);
  EXPECT_EQ(r.refused[0].why, Refusal::kCannotWrite);
  EXPECT_EQ(r.refused[0].error, ENAMETOOLONG);
  EXPECT_EQ(test::ReadFile(dir / "out/ok.txt"), "y");
}

}  // namespace
}  // namespace haruvi::archive
