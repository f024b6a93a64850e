// The information line, the read rule at its boundaries, and the file-kind signatures.
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "viewer/file_display.h"
#include "viewer/file_info.h"

namespace haruvi::viewer {
namespace {

class UtcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    old_tz_ = tz ? std::optional<std::string>(tz) : std::nullopt;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  void TearDown() override {
    if (old_tz_) ::setenv("TZ", old_tz_->c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }
  std::optional<std::string> old_tz_;
  test::TempDir dir;
};

TEST_F(UtcTest, FieldFormats) {
  EXPECT_EQ(SizeField(0), "              0 byte");
  EXPECT_EQ(SizeField(1234567), "      1,234,567 byte");
  EXPECT_EQ(SizeField(5'000'000'000ULL), "  5,000,000,000 byte");  // 4 GB and more
  EXPECT_EQ(DateField(947030400), "2000.01.05(水)");
  EXPECT_EQ(DateField(0), "1970.01.01(木)");
}

TEST_F(UtcTest, InformationLineOfAFile) {
  auto p = dir.Write("a b.txt", "hello");
  struct utimbuf t {947030400, 947030400};
  ::utime(p.c_str(), &t);
  EXPECT_EQ(InfoLineStep1(p.string()),
            "a b.txt   " + SizeField(5) + "   2000.01.05(水)   -A--    " + dir.path().string() + "/    ");
  ::chmod(p.c_str(), 0444);
  EXPECT_EQ(AttributeField(p.string()), "RA--");
  auto hidden = dir.Write(".secret", "");
  ::chmod(hidden.c_str(), 0400);
  EXPECT_EQ(AttributeField(hidden.string()), "RA-H");
  EXPECT_EQ(AttributeField(dir.path().string()), "----   ﾃﾞｨﾚｸﾄﾘ");
  EXPECT_EQ(AttributeField("/dev/null"), "-" + std::string("-S-"));
  EXPECT_EQ(AttributeField((dir / "gone").string()), "ｴﾗｰ----");
  EXPECT_EQ(InfoLineStep2("X", "[ﾋﾞｯﾄﾏｯﾌﾟ]", "ASCII"), "X    [ﾋﾞｯﾄﾏｯﾌﾟ]  ASCII");
  EXPECT_EQ(InfoLineStep2("X", "", ""), "X      ");
}

TEST(ReadRule, Boundaries) {
  ReadSettings d;  // 10000, on, no limit
  EXPECT_EQ(ReadRule(10000, d), LoadWay::Direct);
  EXPECT_EQ(ReadRule(10001, d), LoadWay::Stream);
  ReadSettings limit{10000, true, 5000};
  EXPECT_EQ(ReadRule(5000, limit), LoadWay::Direct);
  EXPECT_EQ(ReadRule(5001, limit), LoadWay::Nothing);
  ReadSettings off{10000, false, 0};
  EXPECT_EQ(ReadRule(1u << 30, off), LoadWay::Direct);
  ReadSettings off_limit{10000, false, 20000};
  EXPECT_EQ(ReadRule(20000, off_limit), LoadWay::Direct);
  EXPECT_EQ(ReadRule(20001, off_limit), LoadWay::Nothing);
  ReadSettings both{10000, true, 20000};
  EXPECT_EQ(ReadRule(15000, both), LoadWay::Stream);
  ReadSettings negative{10000, true, -5};
  EXPECT_EQ(ReadRule(1u << 30, negative), LoadWay::Stream);
}

TEST(FileKind, SignaturesInOrder) {
  struct Row { std::string line; const char* path; const char* kind; } rows[] = {
      {"MZ\x90", "/a.exe", "[実行ファイル]"},
      {"mz", "/a.exe", ""},
      {"BMx", "/a.bmp", "[ﾋﾞｯﾄﾏｯﾌﾟ]"},
      {"DCU1", "/a", "[DEL_U1]"},
      {"HSPP", "/a", "[DEL_U2]"},
      {"\x41\x86\x51\x44z", "/a", "[DEL_U3]"},
      {"program Foo;", "/a.dpr", "[Delphi program]"},
      {"{ x } program", "/a.dpr", ""},
      {"unit U;", "/a.pas", "[Delphi unit]"},
      {"{\\rtf1\\ansi", "/a.rtf", "[ﾘｯﾁテキスト]"},
      {"?_\x03", "/A.hlp", "[Helpファイル]"},
      {"?_\x03", "/a.HLP", "[Helpファイル]"},
      {"?_\x03", "/a.txt", ""},
      {"M", "/a", ""},
      {"", "/a", ""},
      {"MZ", "", ""},  // nothing selected
  };
  for (const Row& r : rows) EXPECT_EQ(filekind(r.line, r.path), r.kind) << r.line;
}

TEST(FileDisplay, LoadsTheWholeFileOrNothing) {
  test::TempDir dir;
  auto p = dir.Write("big.txt", std::string(10001, 'a'));
  FileDisplay d = ShowFile(p.string(), DisplaySettings{});
  EXPECT_TRUE(d.loaded);
  EXPECT_EQ(d.way, LoadWay::Stream);
  EXPECT_EQ(d.bytes.size(), 10001u);
  EXPECT_EQ(d.code, "ASCII");
  d = ShowFile(p.string(), DisplaySettings{ReadSettings{10000, true, 5000}});
  EXPECT_FALSE(d.loaded);
  EXPECT_EQ(d.way, LoadWay::Nothing);
  EXPECT_FALSE(d.info_step1.empty());
  EXPECT_EQ(d.info_line, d.info_step1 + "    " "  ");  // above the limit: no kind, no code
  EXPECT_FALSE(ShowFile((dir / "gone").string(), DisplaySettings{}).exists);
  EXPECT_FALSE(ShowFile(dir.path().string(), DisplaySettings{}).exists);
}

// A file whose size reads 0 but that holds text (/proc) shows its text; an empty file
// stays empty.
TEST(FileDisplay, AFileWhoseSizeReadsZeroShowsWhatItHolds) {
  FileDisplay d = ShowFile("/proc/self/status", DisplaySettings{});
  ASSERT_TRUE(d.regular);
  EXPECT_EQ(d.size, 0u);
  EXPECT_TRUE(d.loaded);
  EXPECT_NE(d.bytes.view().find("Pid:"), std::string_view::npos);
  test::TempDir dir;
  d = ShowFile(dir.Write("empty", "").string(), DisplaySettings{});
  EXPECT_TRUE(d.loaded);
  EXPECT_TRUE(d.bytes.empty());
}

TEST(FileDisplay, UnreadableFileGivesTheSystemMessage) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  test::TempDir dir;
  auto p = dir.Write("locked", "x");
  ::chmod(p.c_str(), 0);
  FileDisplay d = ShowFile(p.string(), DisplaySettings{});
  EXPECT_FALSE(d.loaded);
  EXPECT_EQ(d.error, "アクセスが拒否されました");
  EXPECT_EQ(d.info_line, d.info_step1 + "    " "  ");  // a direct read goes on, empty
}

TEST(FileDisplay, FirstLineAndWholeInfoLine) {
  EXPECT_EQ(FirstLineOf("abc\r\ndef"), "abc");
  EXPECT_EQ(FirstLineOf("\nabc"), "");
  EXPECT_EQ(FirstLineOf("abc"), "abc");
  test::TempDir dir;
  auto empty = dir.Write("empty.txt", "");
  EXPECT_TRUE(ShowFile(empty.string(), DisplaySettings{}).info_line.ends_with("/        " "  "));  // no kind, no code
  auto exe = dir.Write("x.exe", std::string("MZ\x90\0\0\0", 6));
  EXPECT_TRUE(ShowFile(exe.string(), DisplaySettings{}).info_line.ends_with("    [実行ファイル]  ﾊﾞｲﾅﾘ"));
}

TEST(FileDisplay, ColourFollowsHowTheFileWasShown) {
  test::TempDir dir;
  auto p = dir.Write("a.txt", "a");
  DisplaySettings s;
  EXPECT_EQ(ShowFile(p.string(), s).color, InfoColor::Black);
  s.editing = true;
  EXPECT_EQ(ShowFile(p.string(), s).color, InfoColor::Red);
  s.forced = true;  // a show command wins over edit mode
  EXPECT_EQ(ShowFile(p.string(), s).color, InfoColor::Blue);
}

TEST(FileDisplay, RichTextIsFormattedOnlyInRichTextModeAndNamedEitherWay) {
  test::TempDir dir;
  // "日本" in Shift_JIS through \'hh escapes: the shown text is Shift_JIS, the file ASCII.
  auto p = dir.Write("a.rtf", "{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\par second}");
  FileDisplay plain = ShowFile(p.string(), DisplaySettings{});
  EXPECT_FALSE(plain.rich);
  EXPECT_EQ(plain.kind, "[ﾘｯﾁテキスト]");
  EXPECT_EQ(plain.code, "ASCII");
  DisplaySettings s;
  s.rich_text = true;
  FileDisplay rich = ShowFile(p.string(), s);
  ASSERT_TRUE(rich.rich);
  EXPECT_EQ(rich.bytes.view(), "\x93\xfa\x96\x7b\r\nsecond");
  EXPECT_EQ(rich.kind, "[ﾘｯﾁテキスト]");
  EXPECT_EQ(rich.code, "ｼﾌﾄJIS");
  // A file that is no rich text shows as it is in rich-text mode too.
  auto txt = dir.Write("b.txt", "plain");
  FileDisplay other = ShowFile(txt.string(), s);
  EXPECT_FALSE(other.rich);
  EXPECT_EQ(other.bytes.view(), "plain");
}

TEST(FileDisplay, OnlyRegularFilesAreRead) {
  test::TempDir dir;
  const std::string fifo = (dir / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  FileDisplay d = ShowFile(fifo, DisplaySettings{});  // would wait for a writer if opened
  EXPECT_TRUE(d.exists);
  EXPECT_FALSE(d.regular);
  EXPECT_FALSE(d.loaded);
  EXPECT_FALSE(d.info_line.empty());
  EXPECT_FALSE(ShowFile("/dev/zero", DisplaySettings{}).loaded);
}

}  // namespace
}  // namespace haruvi::viewer

#include <fcntl.h>
#include <unistd.h>

#include <chrono>

namespace haruvi::viewer {
namespace {

TEST(FileDisplay, TheInformationLineAloneMatchesAFullDisplayAndReadsLittle) {
  test::TempDir dir;
  DisplaySettings only;
  only.info_only = true;
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"sjis.txt", "\x93\xfa\x96\x7b\r\n"}, {"euc.txt", "\xc6\xfc\xcb\xdc"}, {"x.exe", std::string("MZ\0\0", 4)},
           {"empty", ""}, {"ascii", std::string(200000, 'a') + "\x82\xa0"}}) {
    auto p = dir.Write(name, bytes);
    EXPECT_EQ(ShowFile(p.string(), only).info_line, ShowFile(p.string(), DisplaySettings{}).info_line) << name;
  }
  // A 5 GB sparse file: its first byte decides, so it is named at once.
  const std::string big = (dir / "sparse").string();
  const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);
  ::close(fd);
  const auto start = std::chrono::steady_clock::now();
  const FileDisplay d = ShowFile(big, only);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(d.info_line.ends_with("ﾊﾞｲﾅﾘ"));
  EXPECT_TRUE(d.info_line.find("5,368,709,120 byte") != std::string::npos);
}

}  // namespace
}  // namespace haruvi::viewer
