// A step is a few megabytes, so a stop is seen soon and the page tables are filled well
// ahead of a reader scanning at memory speed. Populating never raises a signal: a range
// past a file cut short ends the thread with an error, and the reader then meets the
// missing pages itself.
#include "encoding/map_prefetch.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <unistd.h>

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22
#endif

namespace haruvi::encoding {

MapPrefetch::MapPrefetch(const char* data, std::size_t bytes) {
  if (bytes == 0) return;
  try {
    thread_ = std::thread([this, data, bytes] { Run(data, bytes); });
  } catch (...) {
    // No thread to spare: the reader faults its pages in as it goes.
  }
}

MapPrefetch::~MapPrefetch() {
  stop_.store(true, std::memory_order_relaxed);
  Wait();
}

void MapPrefetch::Wait() {
  if (thread_.joinable()) thread_.join();
}

void MapPrefetch::Run(const char* data, std::size_t bytes) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(data) + bytes;
  for (std::uintptr_t at = begin; at < end && !stop_.load(std::memory_order_relaxed);) {
    const std::uintptr_t next = std::min<std::uintptr_t>(end, at + kStep);
    const std::size_t length = (next - at + page - 1) / page * page;
    if (::madvise(reinterpret_cast<void*>(at), length, MADV_POPULATE_READ) != 0) return;
    at = next;
    done_.store(static_cast<std::size_t>(std::min(next, end) - reinterpret_cast<std::uintptr_t>(data)),
                std::memory_order_release);
  }
}

}  // namespace haruvi::encoding
