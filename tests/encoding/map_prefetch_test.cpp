// The page-table prefetch of a mapped file: it fills the tables so the reader takes no
// faults, never raises a signal on a file cut short under it, and stops when dropped.
#include "encoding/map_prefetch.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace haruvi::encoding {
namespace {

long MinorFaults() {
  rusage u {};
  ::getrusage(RUSAGE_THREAD, &u);
  return u.ru_minflt;
}

// One byte of each page, read without the address checker, whose own shadow pages would
// fault in as it checked the reads.
__attribute__((no_sanitize("address"))) unsigned TouchPages(const char* data, std::size_t bytes) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < bytes; i += 4096) sum += static_cast<unsigned char>(data[i]);
  return sum;
}

class Mapped {
 public:
  Mapped(const std::string& path, std::size_t bytes) : bytes_(bytes) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    data_ = static_cast<const char*>(::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, fd_, 0));
  }
  ~Mapped() {
    ::munmap(const_cast<char*>(data_), bytes_);
    ::close(fd_);
  }
  const char* data() const { return data_; }

 private:
  std::size_t bytes_;
  int fd_ = -1;
  const char* data_ = nullptr;
};

std::string MakeFile(const test::TempDir& dir, std::size_t bytes) {
  std::string text;
  for (std::size_t i = 0; text.size() < bytes; ++i) text += "line " + std::to_string(i) + "\n";
  text.resize(bytes);
  return dir.Write("big.txt", text).string();
}

TEST(MapPrefetch, FillsThePageTablesSoTheReaderTakesNoFaults) {
  test::TempDir dir;
  const std::size_t bytes = 3 * MapPrefetch::kStep + 12345;
  const std::string path = MakeFile(dir, bytes);
  Mapped map(path, bytes);
  MapPrefetch prefetch(map.data(), bytes);
  prefetch.Wait();
  EXPECT_EQ(prefetch.Done(), bytes);
  const long before = MinorFaults();
  const unsigned sum = TouchPages(map.data(), bytes);
  const long taken = MinorFaults() - before;
  EXPECT_NE(sum, 0u);
  // Without the prefetch the loop takes one fault per few pages (about 50 here).
  EXPECT_LE(taken, 2) << "faults while reading a prefetched mapping";
}

// A file whose size is a whole number of pages (and of steps) ends its thread too: the
// end leaves no partial page to stop it, only the loop's own bound.
TEST(MapPrefetch, AFileEndingOnAPageEdgeEndsThePrefetch) {
  test::TempDir dir;
  const std::size_t bytes = 2 * MapPrefetch::kStep;
  const std::string path = MakeFile(dir, bytes);
  Mapped map(path, bytes);
  MapPrefetch prefetch(map.data(), bytes);
  prefetch.Wait();
  EXPECT_EQ(prefetch.Done(), bytes);
}

TEST(MapPrefetch, AFileCutShortEndsThePrefetchWithoutASignal) {
  test::TempDir dir;
  const std::size_t bytes = 4 * MapPrefetch::kStep;
  const std::string path = MakeFile(dir, bytes);
  Mapped map(path, bytes);
  ASSERT_EQ(::truncate(path.c_str(), MapPrefetch::kStep / 2), 0);
  MapPrefetch prefetch(map.data(), bytes);
  prefetch.Wait();  // a signal would have ended the test program here
  EXPECT_LT(prefetch.Done(), bytes);
}

TEST(MapPrefetch, DroppedWhileRunningLeavesTheMappingToItsOwner) {
  test::TempDir dir;
  const std::size_t bytes = 8 * MapPrefetch::kStep;
  const std::string path = MakeFile(dir, bytes);
  for (int round = 0; round < 20; ++round) {
    Mapped map(path, bytes);
    { MapPrefetch prefetch(map.data(), bytes); }  // joined here, before the unmapping
    EXPECT_EQ(map.data()[0], 'l');
  }
}

}  // namespace
}  // namespace haruvi::encoding
