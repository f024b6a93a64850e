// The engine's flushes, counted; see flush.h for when they are made.
#include "fileops/flush.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

namespace haruvi::fileops {
namespace {

std::atomic<std::uint64_t> g_files{0};
std::atomic<std::uint64_t> g_file_systems{0};

}  // namespace

bool FlushFile(int fd) {
  g_files.fetch_add(1, std::memory_order_relaxed);
  return ::fsync(fd) == 0;
}

bool FlushFileData(int fd) {
  g_files.fetch_add(1, std::memory_order_relaxed);
  return ::fdatasync(fd) == 0;
}

bool FlushFileSystem(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  g_file_systems.fetch_add(1, std::memory_order_relaxed);
  const bool ok = ::syncfs(fd) == 0;
  ::close(fd);
  return ok;
}

FlushCounts FlushesSoFar() {
  return FlushCounts{g_files.load(std::memory_order_relaxed), g_file_systems.load(std::memory_order_relaxed)};
}

}  // namespace haruvi::fileops
