// Grep over file lists with workers: the same report as one TGrep file after file, in
// list order and never interleaved within a file, whatever the worker count; files that
// cannot be read reported in their place without ending the grep; links passed over when
// asked; a stop request ending it.
#include "search/file_grep.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "encoding/text_form.h"
#include "fileops/folder_walk.h"
#include "regex/regex_error.h"
#include "search/unicode_copy.h"
#include "support/deep_tree.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;

struct GrepRun {
  std::string report;
  std::vector<std::string> problems;
  FileGrepResult result;
};

GrepRun Grep(std::string_view pattern, const std::vector<std::string>& files, FileGrepOptions o,
         const std::atomic<bool>* cancel = nullptr) {
  GrepRun r;
  r.result = GrepFiles(
      pattern, files, o, [&](std::string_view text) { r.report.append(text); },
      [&](const std::string& path, const std::string& msg) { r.problems.push_back(path + ": " + msg); }, cancel);
  return r;
}

FileGrepOptions Opt(int threads, GrepReportOptions ro = {}, bool skip_links = false, std::size_t limit = 0) {
  FileGrepOptions o;
  o.report = ro;
  o.threads = threads;
  o.skip_links = skip_links;
  o.line_limit = limit;
  return o;
}

// What one TGrep over the files in order writes.
std::string Reference(std::string_view pattern, const std::vector<std::string>& files, GrepReportOptions ro) {
  std::string out;
  TGrep grep;
  grep.SetRegExp(pattern);
  GrepPrinter printer(ro, [&](std::string_view line) { out.append(line); });
  grep.OnMatch = printer.Handler();
  for (const std::string& f : files) {
    printer.BeginFile(f);
    grep.GrepFile(f);
  }
  return out;
}

TEST(GrepFiles, TreeReportEqualsTheReferenceWalkForAnyWorkerCount) {
  test::TempDir dir;
  for (int d = 0; d < 6; ++d)
    for (int f = 0; f < 15; ++f) {
      std::string body;
      for (int l = 0; l < 40 + f * 7; ++l)
        body += "line " + std::to_string(l) + ((l * (d + 1) + f) % 5 == 0 ? S(" hit 2026年12月") : std::string(" miss")) + "\r\n";
      dir.Write("d" + std::to_string(d) + "/s/f" + std::to_string(f) + ".txt", body);
    }
  std::vector<std::string> files;
  fileops::FindFiles(dir.path().string(), "*.*", files);
  ASSERT_EQ(files.size(), 90u);
  const GrepReportOptions ro{.file_headers = true, .line_numbers = true};
  const std::string want = Reference(S("[0-9]+年[0-9]+月"), files, ro);
  for (int threads : {1, 2, 5}) {
    const GrepRun r = Grep(S("[0-9]+年[0-9]+月"), files, Opt(threads, ro));
    EXPECT_EQ(r.report, want) << threads;
    EXPECT_TRUE(r.problems.empty());
    EXPECT_GT(r.result.matches, 100);
  }
  // Without the two options: only the lines.
  const GrepRun plain = Grep("hit", files, Opt(2));
  EXPECT_EQ(plain.report, Reference("hit", files, {}));
  EXPECT_EQ(plain.report.find("//"), std::string::npos);
}

TEST(GrepFiles, UnreadableFilesAreReportedInPlaceAndTheGrepGoesOn) {
  test::TempDir dir;
  const std::string a = dir.Write("a.txt", "hit a\n").string();
  const std::string gone = (dir.path() / "gone.txt").string();
  const std::string fifo = (dir.path() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string locked = dir.Write("locked.txt", "hit locked\n").string();
  ::chmod(locked.c_str(), 0);
  const std::string z = dir.Write("z.txt", "hit z\n").string();
  const std::string link = (dir.path() / "link.txt").string();
  ASSERT_EQ(::symlink(z.c_str(), link.c_str()), 0);
  const std::vector<std::string> files = {a, gone, fifo, locked, link, z};
  for (int threads : {1, 3}) {
    const GrepRun r = Grep("hit", files, Opt(threads, {}, true));
    const bool root = ::geteuid() == 0;  // root reads the locked file anyway
    EXPECT_EQ(r.report, root ? "hit a\r\nhit locked\r\nhit z\r\n" : "hit a\r\nhit z\r\n");
    ASSERT_EQ(r.problems.size(), root ? 2u : 3u);
    EXPECT_EQ(r.problems[0].rfind(gone, 0), 0u);
    EXPECT_EQ(r.problems[1].rfind(fifo, 0), 0u);
    EXPECT_FALSE(r.result.cancelled);
  }
  // Followed when not asked to skip.
  EXPECT_EQ(Grep("hit z", {link}, Opt(1)).report, "hit z\r\n");
}

TEST(GrepFiles, ALineTooLongIsReportedNotHeld) {
  test::TempDir dir;
  const std::string big = dir.Write("big.txt", std::string(3u << 20, 'x')).string();
  const std::string small = dir.Write("small.txt", "x\n").string();
  const GrepRun r = Grep("x", {big, small}, Opt(1, {}, false, 1u << 20));
  EXPECT_EQ(r.report, "x\r\n");
  ASSERT_EQ(r.problems.size(), 1u);
}

// The file whose beginning was read to tell its form is grepped on from there: hits
// across the end of that beginning, past it, in a file no longer than it, in an empty
// file and in one without a closing line feed are the ones a fresh read finds.
TEST(GrepFiles, FilesBegunForTheirFormAreGreppedOnFromThere) {
  test::TempDir dir;
  const std::string hit = S("文字コード");
  std::string big(encoding::kUtf16ScanBytes + 5000, 'a');
  for (std::size_t at : {std::size_t{10}, encoding::kUtf16ScanBytes - 4, encoding::kUtf16ScanBytes + 2000})
    big.replace(at, hit.size(), hit);
  for (std::size_t at = 1000; at < big.size(); at += 1000) big[at] = '\n';
  std::vector<std::string> files = {
      dir.Write("big.txt", big).string(),
      dir.Write("exact.txt", big.substr(0, encoding::kUtf16ScanBytes)).string(),
      dir.Write("empty.txt", "").string(),
      dir.Write("open.txt", "x\n" + hit).string(),
  };
  for (const char* pattern : {"\x95\xB6\x8E\x9A", "a\x95\xB6"}) {  // literal, line automaton
    const GrepRun r = Grep(pattern, files, Opt(2, {.line_numbers = true}));
    EXPECT_EQ(r.report, Reference(pattern, files, {.line_numbers = true})) << pattern;
    EXPECT_GE(r.result.matches, 4) << pattern;
  }
}

// The beginning read into the grep's own storage, into another, or into none (the file
// is then read again from its start): the same lines each way.
TEST(GrepFiles, ABegunFileGivesTheSameLinesWhereverItsBeginningWasRead) {
  test::TempDir dir;
  std::string text(encoding::kUtf16ScanBytes + 3000, 'a');
  for (std::size_t at = 500; at < text.size(); at += 700) text.replace(at, 3, "\nb\n");
  const std::string path = dir.Write("t.txt", text).string();
  auto lines = [&](int where) {
    TGrep g;
    g.SetRegExp("ab?");
    std::vector<std::int64_t> got;
    g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { got.push_back(li.LineNo); };
    UnicodeCopy copy;
    TxtBuffer other;
    std::string trouble;
    EXPECT_FALSE(copy.Make(path, &trouble, {}, where == 0 ? g.Storage() : where == 1 ? &other : nullptr));
    EXPECT_NE(copy.Opened(), nullptr);
    g.GrepFile(path, copy.Opened());
    return got;
  };
  TGrep fresh;
  fresh.SetRegExp("ab?");
  std::vector<std::int64_t> want;
  fresh.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { want.push_back(li.LineNo); };
  fresh.GrepFile(path);
  EXPECT_GT(want.size(), 90u);
  for (int where : {0, 1, 2}) EXPECT_EQ(lines(where), want) << where;
}

// Live (the window's pane), the head file's lines go out in small blocks rather than one
// by one, and a hit early in a long file goes out while the file is still being read.
TEST(GrepFiles, LiveReportsComeInSmallBlocksAndSoonAfterAHit) {
  test::TempDir dir;
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "hit " + std::to_string(i) + "\n";
  const std::string lines = dir.Write("many.txt", many).string();
  FileGrepOptions live = Opt(1);
  live.live = true;
  std::size_t calls = 0;
  std::string report;
  GrepFiles("hit", {lines}, live, [&](std::string_view t) { ++calls, report.append(t); }, {});
  EXPECT_EQ(report, Grep("hit", {lines}, Opt(1)).report);
  EXPECT_LT(calls, 100u);  // 5,000 lines

  // One hit, then much more to read: the hit is out before the reading ends, so a stop
  // asked for on its arrival ends the grep.
  const std::string tail = dir.Write("tail.txt", "first hit\n" + std::string(4u << 20, 'x') + "\n").string();
  live.live_wait = std::chrono::milliseconds(0);  // out at the next block read
  std::atomic<bool> stop{false};
  const FileGrepResult r = GrepFiles("hit", {tail}, live, [&](std::string_view t) {
    if (t.find("first hit") != std::string_view::npos) stop = true;
  }, {}, &stop);
  EXPECT_TRUE(r.cancelled);
}

// Files fed while the grep runs (as a tree walk finds them) give the report of the same
// list given whole, whatever the worker count and however slowly they come; a feed closed
// empty ends the grep with nothing.
TEST(GrepFiles, FilesFedWhileItRunsReportAsTheListGivenWhole) {
  test::TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < 40; ++i)
    files.push_back(dir.Write("f" + std::to_string(i), i % 3 ? "hit " + std::to_string(i) + "\nmiss\n" : "miss\n").string());
  const GrepRun whole = Grep("hit", files, Opt(2, {.file_headers = true}));
  for (int threads : {1, 2, 4}) {
    FileFeed feed;
    std::thread feeder([&] {
      for (std::size_t i = 0; i < files.size(); ++i) {
        feed.Add(files[i]);
        if (i % 7 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      feed.Close();
    });
    std::string report;
    const FileGrepResult r = GrepFiles(
        "hit", feed, Opt(threads, {.file_headers = true}), [&](std::string_view t) { report.append(t); }, {});
    feeder.join();
    EXPECT_EQ(report, whole.report) << threads;
    EXPECT_EQ(r.matches, whole.result.matches);
  }
  // Fed on the calling thread before it greps too; a feeding that fails still ends.
  for (int threads : {1, 2}) {
    FileFeed feed;
    std::string report;
    GrepFiles(
        "hit", feed, Opt(threads, {.file_headers = true}), [&](std::string_view t) { report.append(t); }, {}, nullptr,
        [&] {
          for (const std::string& f : files) feed.Add(f);
          feed.Close();
        });
    EXPECT_EQ(report, whole.report) << threads;
    FileFeed failing;
    EXPECT_THROW(GrepFiles("hit", failing, Opt(threads), {}, {}, nullptr,
                           [&] {
                             failing.Add(files[1]);
                             throw std::runtime_error("walk");
                           }),
                 std::runtime_error);
  }
  FileFeed empty;
  empty.Close();
  std::string report;
  EXPECT_EQ(GrepFiles("hit", empty, Opt(2), [&](std::string_view t) { report.append(t); }, {}).matches, 0);
  EXPECT_EQ(report, "");
}

TEST(GrepFiles, StopsWhenAskedAndBadPatternsFailFirst) {
  test::TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < 50; ++i) files.push_back(dir.Write("f" + std::to_string(i), std::string(1 << 16, 'a') + "\n").string());
  std::atomic<bool> cancel{true};
  const GrepRun r = Grep("a", files, Opt(2), &cancel);
  EXPECT_TRUE(r.result.cancelled);
  EXPECT_EQ(r.result.matches, 0);
  EXPECT_THROW(Grep("[", files, Opt(1)), regex::ERegExpParser);
}

// A tree 3,000 folders deep, far past the longest path the system opens: the walk opens
// each folder relative to its parent and the grep reaches every file, the deepest too,
// with nothing reported unreadable.
TEST(GrepFiles, ATreeDeeperThanAnyPathIsWalkedAndGreppedWhole) {
  haruvi::test::TempDir dir;
  const std::string root = dir.path().string();
  ASSERT_TRUE(haruvi::test::MakeDeepChain(root, 3000, 1000, "a needle here\n"));
  std::vector<std::string> files;
  std::size_t unreadable = 0;
  fileops::WalkTree(root, [&](fileops::TreeEntry&& e) {
    if (e.kind == fileops::TreeEntry::UnreadableFolder) ++unreadable;
    else files.push_back(std::move(e.path));
  });
  EXPECT_EQ(unreadable, 0u);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_GT(files.back().size(), 6000u);
  GrepReportOptions with_paths;
  with_paths.line_numbers = true;
  const GrepRun r = Grep("needle", files, Opt(2, with_paths));
  EXPECT_EQ(r.result.matches, 3);
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
  EXPECT_NE(r.report.find(files.back()), std::string::npos);
  haruvi::test::RemoveDeepChain(root);
}

}  // namespace
}  // namespace haruvi::search
