// Guarded file mappings: a file cut short under the reader (before the read, or by a
// thread while it reads) reads as zeros past the cut and says so, never a signal; a fault
// outside every guard still ends the process; the whole-input reader is guarded too.
#include "encoding/guarded_map.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "encoding/piece_io.h"
#include "support/temp_dir.h"

namespace haruvi::encoding {
namespace {

constexpr std::size_t kPage = 4096;

// Every byte of the mapping summed, as a reader would touch them.
std::uint64_t Sum(const char* data, std::size_t bytes) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < bytes; ++i) sum += static_cast<unsigned char>(data[i]);
  return sum;
}

struct File {
  test::TempDir dir;
  std::string path;
  int fd = -1;
  explicit File(std::size_t bytes) {
    path = dir.Write("f.txt", std::string(bytes, 'a')).string();
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  ~File() { ::close(fd); }
};

TEST(GuardedMap, AFileCutBeforeTheReadReadsAsZerosPastTheCutAndSaysSo) {
  File f(4 * kPage);
  GuardedMap map;
  ASSERT_TRUE(map.Map(f.fd, 4 * kPage));
  EXPECT_FALSE(map.Changed());
  EXPECT_EQ(Sum(map.data(), map.size()), 4 * kPage * 'a');
  ASSERT_EQ(::truncate(f.path.c_str(), kPage + 10), 0);
  // The page holding the cut stays (zeros after the end, as the system gives them); the
  // pages after it are gone and come back as zeros.
  EXPECT_EQ(Sum(map.data(), map.size()), (kPage + 10) * 'a');
  EXPECT_TRUE(map.Changed());
  GuardedMap whole;
  ASSERT_TRUE(whole.Map(f.fd, kPage));
  EXPECT_EQ(Sum(whole.data(), whole.size()), kPage * 'a');
  EXPECT_FALSE(whole.Changed());
}

TEST(GuardedMap, AThreadCuttingTheFileWhileItIsReadIsNoSignal) {
  constexpr std::size_t kBytes = 16u << 20;
  File f(kBytes);
  WholeInput in;  // the text commands' reader: mapped and populated at once
  ASSERT_TRUE(in.Map(f.fd, kBytes));
  std::atomic<bool> started{false};
  std::thread cutter([&] {
    while (!started.load()) std::this_thread::yield();
    ::truncate(f.path.c_str(), kBytes / 3);
  });
  std::uint64_t sum = 0;
  for (int round = 0; round < 4; ++round) {
    started.store(true);
    sum = Sum(in.Bytes().data(), in.Bytes().size());
  }
  cutter.join();
  sum = Sum(in.Bytes().data(), in.Bytes().size());  // once more after the cut, surely
  EXPECT_TRUE(in.Changed());
  EXPECT_LE(sum, kBytes / 3 / kPage * kPage * 'a' + kPage * 'a');
}

TEST(GuardedMap, AFaultOutsideEveryGuardStillEndsTheProcess) {
  File f(4 * kPage);
  GuardedMap guarded;  // installs the handler
  ASSERT_TRUE(guarded.Map(f.fd, kPage));
  EXPECT_DEATH(
      {
        void* raw = ::mmap(nullptr, 4 * kPage, PROT_READ, MAP_PRIVATE, f.fd, 0);
        (void)!::ftruncate(::open(f.path.c_str(), O_WRONLY), 0);
        std::fprintf(stderr, "%llu\n", static_cast<unsigned long long>(Sum(static_cast<const char*>(raw), 4 * kPage)));
      },
      "");
}

}  // namespace
}  // namespace haruvi::encoding
