// Fills a file mapping's page tables on a thread of its own while the grep reads the
// mapping from the front, so the reader no longer stops at a page fault every few pages.
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace haruvi::encoding {

class MapPrefetch {
 public:
  // Starts populating [data, data + bytes) from the front, a step at a time. Nothing
  // starts where the system cannot populate a range (the reader then faults as before).
  MapPrefetch(const char* data, std::size_t bytes);
  // Stops at the next step and waits for the thread: the mapping may be unmapped after.
  ~MapPrefetch();
  MapPrefetch(const MapPrefetch&) = delete;
  MapPrefetch& operator=(const MapPrefetch&) = delete;

  // The bytes populated so far (for tests).
  std::size_t Done() const { return done_.load(std::memory_order_acquire); }
  // Waits until the thread has ended (for tests).
  void Wait();

  static constexpr std::size_t kStep = 2u << 20;

 private:
  void Run(const char* data, std::size_t bytes);

  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> done_{0};
  std::thread thread_;
};

}  // namespace haruvi::encoding
