// The archiver component over our stand-in libraries: the command lines each class
// builds, the choice of archiver by name and by content, the entry records, unpacking
// and packing through the libraries, and what a missing library disables.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/archive_file.h"
#include "archive/create.h"
#include "archive/lha_binding.h"
#include "archive/result_codes.h"
#include "archive_fixture.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::TempDir;

// Points the component at an empty folder for the scope: no library can be loaded.
class NoLibraries {
 public:
  NoLibraries() { SetArchiverFolder(dir_.path().string()); }
  ~NoLibraries() { SetArchiverFolder(""); }

 private:
  TempDir dir_;
};

std::string MakeArchive(const TempDir& dir, CreateFormat format, const std::string& name) {
  dir.Write("in/a.txt", "alpha");
  dir.Write("in/sub/b.txt", "beta beta");
  const std::string path = (dir / name).string();
  EXPECT_EQ(CreateArchive(format, path, {"in"}, dir.path().string()).code, kOk);
  return path;
}

TEST(CommandLines, LhaUnpackWithOnlyXSet) {
  TempDir dir;
  TArchiveFile f;
  f.SetFileName(MakeArchive(dir, CreateFormat::kLzh, "a.lzh"));
  f.Options.Set("x", 1);
  std::filesystem::create_directories(dir / "out");
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "out").string()), 0) << f.GetOutput();
  EXPECT_EQ(f.CommandLine(), "x -+ -x1 \"" + (dir / "a.lzh").string() + "\" \"" + (dir / "out").string() + "/\"");
  EXPECT_EQ(test::ReadFile(dir / "out/in/sub/b.txt"), "beta beta");
}

TEST(CommandLines, SwitchesStringsAndOwnerWindowInTheirOrder) {
  TempDir dir;
  TArchiveFile f;
  f.SetFileName(MakeArchive(dir, CreateFormat::kLzh, "a.lzh"));
  f.Options.Set("c", 1);
  f.Options.Set("gw", 2);
  f.Options.w = "/tmp/work";
  f.Options.jx = {"*.bak"};
  f.Options.UserOptions = "-my";
  int window = 0;
  f.Unpack(&window, nullptr, {"in/a.txt"}, (dir / "out").string());
  const std::string a = (dir / "a.lzh").string();
  EXPECT_EQ(f.CommandLine(), "x -+ -c1 -n1 \"-w/tmp/work/\" \"-jx*.bak\" -gw2 -my \"" + a + "\" \"" +
                                 (dir / "out").string() + "/\" \"in/a.txt\"");
}

TEST(CommandLines, ZipTarRarAndCabFollowTheirLibraries) {
  TempDir dir;
  TArchiveFile zip;
  zip.SetFileName(MakeArchive(dir, CreateFormat::kZip, "z.zip"));
  zip.Options.Set("x", 0);
  zip.Options.Set("c", 1);
  zip.Unpack(nullptr, nullptr, {"a\\[b].txt"}, (dir / "zo").string());
  EXPECT_EQ(zip.CommandLine(), "-x -o -j \"" + (dir / "z.zip").string() + "\" \"" + (dir / "zo").string() +
                                   "/\" \"a/[[]b].txt\"");
  TArchiveFile tgz;
  tgz.SetFileName(MakeArchive(dir, CreateFormat::kTgz, "t.TAR.GZ"));
  EXPECT_EQ(tgz.ArchiverType(), TArchiverType::atTgz);
  tgz.Options.Set("x", 1);
  EXPECT_EQ(tgz.Unpack(nullptr, nullptr, {}, (dir / "to").string()), 0) << tgz.GetOutput();
  EXPECT_EQ(tgz.CommandLine(), "x -use-directory=1 -z -f \"" + (dir / "t.TAR.GZ").string() + "\" -o \"" +
                                   (dir / "to").string() + "/\"");
  EXPECT_EQ(test::ReadFile(dir / "to/in/a.txt"), "alpha");
  TArchiveFile cab;
  cab.SetFileName(MakeArchive(dir, CreateFormat::kCab, "c.cab"));
  cab.Options.Set("x", 0);
  cab.Unpack(nullptr, nullptr, {}, (dir / "co").string());
  EXPECT_EQ(cab.CommandLine(), "-x -j \"" + (dir / "c.cab").string() + "\" \"" + (dir / "co").string() + "/\"");
  EXPECT_EQ(test::ReadFile(dir / "co/b.txt"), "beta beta");
}

TEST(CommandLines, TheWindowsUnpackReportsARenamedEntryAndARefusedLink) {
  // What the window shows after unpacking: the second 表示.txt kept beside the first,
  // and the link through a link that leads out refused, each named on its line.
  TempDir dir;
  const std::string tar = (dir / "c.tar").string();
  test::WriteRawArchive(tar, {{test::S("表示.txt"), "sjis"}, {"表示.txt", "utf-8"},
                              {"s", "", AE_IFLNK, "."}, {"t", "", AE_IFLNK, "s/.."}});
  TArchiveFile f;
  f.SetFileName(tar);
  f.Options.Set("x", 1);
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "out").string()), kErrAlreadyExists);
  const std::string report = f.GetOutput();
  EXPECT_NE(report.find(test::S("表示.txt : 同じ名前の項目が先にあるため 表示 (2).txt として展開しました")),
            std::string::npos) << report;
  EXPECT_NE(report.find(test::S("t : 展開先フォルダーの外を指しています")), std::string::npos) << report;
  EXPECT_EQ(test::ReadFile(dir / "out/表示 (2).txt"), "utf-8");
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "out/t"));
}

TEST(Choice, ByExtensionByContentAndNeither) {
  EXPECT_EQ(TArchiveFile::TypeForName("x.TAR.GZ"), TArchiverType::atTgz);
  EXPECT_EQ(TArchiveFile::TypeForName("x.taz"), TArchiverType::atTgz);
  EXPECT_EQ(TArchiveFile::TypeForName("x.gza"), TArchiverType::atBga);
  EXPECT_EQ(TArchiveFile::TypeForName("x.txt"), TArchiverType::atNone);
  TempDir dir;
  // A ZIP under another name is recognised at the first operation.
  const std::string zip = MakeArchive(dir, CreateFormat::kZip, "disguised.dat");
  TArchiveFile f;
  f.SetFileName(zip);
  EXPECT_EQ(f.ArchiverType(), TArchiverType::atAutoDetect);
  EXPECT_NE(f.CheckArchive(1, 4), 0);
  EXPECT_EQ(f.ArchiverType(), TArchiverType::atZip);
  // An LZH named .exe is recognised at once; an .exe nothing takes is refused.
  const std::string lzh = MakeArchive(dir, CreateFormat::kLzh, "sfx.exe");
  TArchiveFile g;
  g.SetFileName(lzh);
  EXPECT_EQ(g.ArchiverType(), TArchiverType::atLha);
  TArchiveFile h;
  h.SetFileName(dir.Write("plain.exe", "MZ not an archive").string());
  try {
    h.CheckArchive(1, 4);
    FAIL() << "no archiver expected";
  } catch (const EArchiver& e) {
    EXPECT_STREQ(e.what(), "書庫の形式を判別できません。");
  }
  EXPECT_THROW(h.SetArchiverType(TArchiverType::atYz1), EArchiver);
}

TEST(Records, FindFirstAndNextFillThe558ByteRecord) {
  TempDir dir;
  TArchiveFile f;
  f.SetFileName(MakeArchive(dir, CreateFormat::kLzh, "r.lzh"));
  ASSERT_NE(f.OpenArchive(nullptr, 0), nullptr);
  HaruviIndividualInfo info;
  std::vector<std::string> names;
  for (int r = f.FindFirst("*.*", &info); r == 0; r = f.FindNext(&info)) {
    names.push_back(info.file_name);
    if (names.back() == "in/sub/b.txt") {
      EXPECT_EQ(info.original_size, 9u);
      EXPECT_STREQ(info.method, "-lh0-");
      EXPECT_STREQ(info.attribute, "-rw-");
      EXPECT_NE(info.date, 0);
    }
  }
  f.CloseArchive();
  EXPECT_EQ(names.size(), 4u);  // two folders, two files
}

TEST(Packing, ThroughTheLibrariesTheFormatsTheyWrite) {
  TempDir dir;
  dir.Write("p/one.txt", "one");
  dir.Write("p/deep/two.txt", "two");
  for (const char* name : {"made.lzh", "made.zip", "made.tgz", "made.cab"}) {
    TArchiveFile f;
    f.SetFileName((dir / name).string());
    f.Options.Set("x", 1);
    EXPECT_EQ(f.Pack(nullptr, nullptr, {"p"}, dir.path().string()), 0) << name << f.GetOutput();
    EXPECT_NE(f.GetOutput().find("p/deep/two.txt"), std::string::npos) << name << f.GetOutput();
    TArchiveFile back;
    back.SetFileName((dir / name).string());
    std::filesystem::create_directories(dir / "back" / name);
    EXPECT_EQ(back.Unpack(nullptr, nullptr, {}, (dir / "back" / name).string()), 0) << name << back.GetOutput();
    EXPECT_EQ(test::ReadFile(dir / "back" / name / "p/deep/two.txt"), "two") << name;
  }
  TArchiveFile rar;
  rar.SetArchiverType(TArchiverType::atRar);
  try {
    rar.Pack(nullptr, nullptr, {"p"}, dir.path().string());
    FAIL();
  } catch (const EArchiver& e) {
    EXPECT_STREQ(e.what(), "この形式では書庫ファイルの作成をサポートしておりません。");
  }
}

TEST(Output, IsCutAtTheBufferSize) {
  TempDir dir;
  TArchiveFile f;
  f.SetFileName(MakeArchive(dir, CreateFormat::kLzh, "o.lzh"));
  f.OutputSize = 16;
  f.Unpack(nullptr, nullptr, {}, (dir / "out").string());
  EXPECT_LE(f.GetOutput().size(), 15u);
  EXPECT_FALSE(f.GetOutput().empty());
}

TEST(Progress, TheLibrariesReportIntoItAndStopWhenCancelled) {
  TempDir dir;
  for (const auto& [format, name] : {std::pair{CreateFormat::kTgz, "p.tgz"}, {CreateFormat::kZip, "p.zip"},
                                     {CreateFormat::kLzh, "p.lzh"}}) {
    const std::string path = MakeArchive(dir, format, name);
    TArchiveFile f;
    f.SetFileName(path);
    f.Options.Set("x", 1);
    HaruviProgress stop;
    stop.cancel = true;
    f.Progress = &stop;
    const std::filesystem::path cancelled = dir / (std::string("cancelled-") + name);
    EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, cancelled.string()), kErrUserCancel) << name;
    EXPECT_TRUE(test::TreeOf(cancelled).empty()) << name;
    EXPECT_EQ(f.OpenArchive(nullptr, 0), nullptr) << name;
    // Reported: the archive's size and the bytes read of it.
    HaruviProgress p;
    f.Progress = &p;
    EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / (std::string("whole-") + name)).string()), 0) << f.GetOutput();
    EXPECT_EQ(p.total.load(), std::filesystem::file_size(path)) << name;
    EXPECT_GT(p.done.load(), 0u) << name;
    EXPECT_LE(p.done.load(), p.total.load()) << name;
    EXPECT_EQ(test::ReadFile(dir / (std::string("whole-") + name) / "in/sub/b.txt"), "beta beta");
    // The library lets go of it after the call.
    f.Progress = nullptr;
    p.cancel = true;
    EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / (std::string("again-") + name)).string()), 0) << name;
  }
  // Packing stops too, and makes no archive.
  dir.Write("pack/one.txt", "one");
  HaruviProgress stop;
  stop.cancel = true;
  TArchiveFile f;
  f.SetFileName((dir / "new.zip").string());
  f.Progress = &stop;
  EXPECT_EQ(f.Pack(nullptr, nullptr, {"pack/one.txt"}, dir.path().string()), kErrUserCancel);
  EXPECT_FALSE(std::filesystem::exists(dir / "new.zip"));
}

TEST(MissingLibraries, DisableWhatNeedsThemWithTheirMessages) {
  TempDir dir;
  const std::string lzh = MakeArchive(dir, CreateFormat::kLzh, "m.lzh");
  NoLibraries none;
  LhaBinding lha;
  lha.Load();
  EXPECT_FALSE(lha.Loaded());
  EXPECT_EQ(lha.Version(), 0u);
  std::string out = "stale";
  EXPECT_EQ(lha.Unlha(nullptr, "l \"" + lzh + "\"", &out, 65536), 32792);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(lha.CheckArchive(lzh, 0));
  const std::pair<const char*, const char*> cases[] = {
      {"m.lzh", "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。"},
      {"m.zip", "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。"},
      {"m.cab", "CAB 形式書庫を扱うには CAB32.DLL が 必要です。"},
      {"m.arj", "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。"},
      {"m.tgz", "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。"},
      {"m.rar", "この機能の使用には UNRAR32.DLL が 必要です。"},
      {"m.gza", "Bga 形式書庫を扱うには BGA32.DLL が 必要です。"}};
  for (const auto& [name, message] : cases) {
    TArchiveFile f;
    f.SetFileName((dir / name).string());
    try {
      f.CheckArchive(1, 4);
      ADD_FAILURE() << name;
    } catch (const EArchiver& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

TEST(MissingLibraries, TheLhaLibraryAnswersWhenPresent) {
  TempDir dir;
  const std::string lzh = MakeArchive(dir, CreateFormat::kLzh, "p.lzh");
  LhaBinding lha;
  lha.Load();
  ASSERT_TRUE(lha.Loaded());
  EXPECT_GT(lha.Version(), 0u);
  EXPECT_TRUE(lha.CheckArchive("\"" + lzh + "\"", 4));
  std::string out;
  EXPECT_EQ(lha.Unlha(nullptr, "l \"" + lzh + "\"", &out, 65536), 0);
  EXPECT_NE(out.find("Listing of archive"), std::string::npos);
  EXPECT_EQ(lha.Unlha(nullptr, "q nonsense", &out, 65536), kErrCommand);
  HaruviProgress stop;
  stop.cancel = true;
  EXPECT_EQ(lha.Unlha(nullptr, "l \"" + lzh + "\"", &out, 65536, &stop), kErrUserCancel);
  HaruviProgress p;
  EXPECT_EQ(lha.Unlha(nullptr, "x \"" + lzh + "\" \"" + (dir / "x").string() + "/\"", &out, 65536, &p), 0) << out;
  EXPECT_EQ(p.total.load(), std::filesystem::file_size(lzh));
  EXPECT_GT(p.done.load(), 0u);
}

}  // namespace
}  // namespace haruvi::archive
