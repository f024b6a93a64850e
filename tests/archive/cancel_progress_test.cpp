// A listing or unpacking run on another thread can be followed and cancelled: a cancel
// ends it with the cancelled result and leaves the target folder as it was, on the
// gzip-thread path and the one-thread path alike; progress counts archive bytes read.
#include <gtest/gtest.h>

#include <thread>

#include "archive/create.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::RawEntry;
using test::TempDir;

// An archive of `count` entries of text, about `each` bytes apiece.
std::string MakeArchive(const TempDir& dir, const std::string& name, const std::string& format,
                        const std::string& filter, int count, std::size_t each) {
  std::vector<RawEntry> entries;
  for (int i = 0; i < count; ++i) {
    std::string data;
    for (unsigned k = 0; data.size() < each; ++k) data += "entry " + std::to_string(i) + " line " + std::to_string(k * 7919 % 10007) + "\n";
    entries.emplace_back("dir/file" + std::to_string(i) + ".txt", data);
  }
  const std::string path = (dir / name).string();
  test::WriteRawArchive(path, entries, format, filter);
  return path;
}

struct Target {
  std::filesystem::path path;
  explicit Target(const TempDir& dir) : path(dir / "target") {
    std::filesystem::create_directories(path);
    dir.Write("target/keep.txt", "keep");
  }
  void ExpectAsItWas() const {
    EXPECT_EQ(test::TreeOf(path), std::set<std::string>{"keep.txt"});
    EXPECT_EQ(test::ReadFile(path / "keep.txt"), "keep");
  }
};

TEST(Cancel, SetBeforeTheStartEndsListingAndUnpackingAtOnce) {
  TempDir dir;
  Target target(dir);
  const std::atomic<bool> cancel{true};
  for (const auto& [name, format, filter] : {std::tuple{"a.tgz", "ustar", "gzip"}, {"a.tar", "ustar", ""},
                                             {"a.zip", "zip", ""}, {"a.tbz", "ustar", "bzip2"}}) {
    const std::string path = MakeArchive(dir, name, format, filter, 3, 1000);
    ReadControl control;
    control.cancel = &cancel;
    const Listing l = ListArchive(path, control);
    EXPECT_FALSE(l.ok) << name;
    EXPECT_TRUE(l.cancelled) << name;
    EXPECT_TRUE(l.entries.empty()) << name;
    UnpackOptions options;
    options.cancel = &cancel;
    const UnpackResult r = Unpack(path, target.path.string(), options);
    EXPECT_EQ(r.code, kErrUserCancel) << name;
    EXPECT_EQ(r.files, 0u) << name;
    target.ExpectAsItWas();
  }
  // Without the flag set the same archives read whole.
  const std::atomic<bool> go_on{false};
  ReadControl control;
  control.cancel = &go_on;
  const Listing l = ListArchive((dir / "a.tgz").string(), control);
  EXPECT_TRUE(l.ok);
  EXPECT_FALSE(l.cancelled);
  EXPECT_EQ(l.entries.size(), 3u);
}

TEST(Cancel, MidUnpackLeavesTheTargetAsItWas) {
  TempDir dir;
  Target target(dir);
  for (const auto& [name, filter, ahead] : {std::tuple{"big.tgz", "gzip", true}, {"big2.tgz", "gzip", false},
                                            {"big.tar", "", false}}) {
    const std::string path = MakeArchive(dir, name, "ustar", filter, 24, 1u << 20);
    std::atomic<bool> cancel{false};
    std::atomic<std::uint64_t> progress{0};
    // Cancel as soon as the reading has begun, as the progress window's button would.
    std::thread watcher([&] {
      while (progress.load() == 0) std::this_thread::yield();
      cancel = true;
    });
    UnpackOptions options;
    options.cancel = &cancel;
    options.progress = &progress;
    options.decode_ahead = ahead;
    const UnpackResult r = Unpack(path, target.path.string(), options);
    watcher.join();
    EXPECT_EQ(r.code, kErrUserCancel) << name << " " << r.detail;
    EXPECT_EQ(r.files, 0u) << name;
    target.ExpectAsItWas();
  }
}

TEST(Progress, FollowsTheArchiveBytesReadUpToTheSize) {
  TempDir dir;
  for (const auto& [name, filter] : {std::pair{"p.tgz", "gzip"}, {"p.tar", ""}}) {
    const std::string path = MakeArchive(dir, name, "ustar", filter, 6, 300000);
    const std::uint64_t size = std::filesystem::file_size(path);
    std::atomic<std::uint64_t> progress{0};
    UnpackOptions options;
    options.progress = &progress;
    const std::filesystem::path target = dir / (std::string("out-") + name);
    std::filesystem::create_directories(target);
    const UnpackResult r = Unpack(path, target.string(), options);
    ASSERT_EQ(r.code, kOk) << r.detail;
    EXPECT_GT(progress.load(), size / 2) << name;
    EXPECT_LE(progress.load(), size) << name;
    std::atomic<std::uint64_t> listed{0};
    ReadControl control;
    control.progress = &listed;
    EXPECT_TRUE(ListArchive(path, control).ok);
    EXPECT_GT(listed.load(), size / 2) << name;
    EXPECT_LE(listed.load(), size) << name;
  }
}

}  // namespace
}  // namespace haruvi::archive
