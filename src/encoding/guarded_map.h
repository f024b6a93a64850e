// Read-only file mappings that survive the file being cut short while they are read:
// the pages lost read as zeros instead of raising SIGBUS, and the mapping says it was
// hit, so its reader can report "PATH: the file changed while being read" and fail.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace haruvi::encoding {

// What a reader says of a file its mapping lost pages of.
inline constexpr char kFileChangedWhileRead[] = "the file changed while being read";

// Guards a mapping made elsewhere (a window placed into a reserved area): a fault in
// [begin, begin + bytes) replaces the pages from there to the end with zeros and sets
// Changed(). At most a few hundred guards live at once; past that Active() is false and
// the caller must read instead of mapping.
class MapGuard {
 public:
  MapGuard(const void* begin, std::size_t bytes);
  ~MapGuard();
  MapGuard(const MapGuard&) = delete;
  MapGuard& operator=(const MapGuard&) = delete;

  bool Active() const { return slot_ >= 0; }
  bool Changed() const { return changed_.load(std::memory_order_acquire); }

 private:
  int slot_ = -1;
  std::atomic<bool> changed_{false};
};

// A read-only private mapping of the first `size` bytes of a file, guarded.
class GuardedMap {
 public:
  GuardedMap() = default;
  GuardedMap(const GuardedMap&) = delete;
  GuardedMap& operator=(const GuardedMap&) = delete;
  ~GuardedMap();

  // False (errno set) when the file cannot be mapped or guarded: then read it instead.
  // `extra_flags` are added to mmap's (MAP_POPULATE).
  bool Map(int fd, std::size_t size, int extra_flags = 0);
  void Release();
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool Changed() const;

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::unique_ptr<MapGuard> guard_;
};

}  // namespace haruvi::encoding
