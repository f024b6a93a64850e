// The guards live in a fixed table the SIGBUS handler reads without locks. The handler
// is installed at the first guard and passes any fault outside the table on to the
// handler that was there before (or to the default action), so a fault anywhere else
// still ends the process as it would have. A program whose modules each link this
// library gets one table and one handler per copy, chained.
#include "encoding/guarded_map.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>

namespace haruvi::encoding {
namespace {

constexpr int kSlots = 512;

struct Slot {
  std::atomic<bool> used{false};
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<std::atomic<bool>*> changed{nullptr};
};

Slot g_slots[kSlots];
struct sigaction g_previous {};

void PassOn(int sig, siginfo_t* info, void* context) {
  if (g_previous.sa_flags & SA_SIGINFO) {
    if (g_previous.sa_sigaction) g_previous.sa_sigaction(sig, info, context);
    return;
  }
  if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(sig);
    return;
  }
  // The default action: the fault comes back on return and ends the process.
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  ::sigemptyset(&dfl.sa_mask);
  ::sigaction(SIGBUS, &dfl, nullptr);
}

void OnBus(int sig, siginfo_t* info, void* context) {
  const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (Slot& s : g_slots) {
    const std::uintptr_t begin = s.begin.load(std::memory_order_acquire);
    const std::uintptr_t end = s.end.load(std::memory_order_acquire);
    if (begin == 0 || at < begin || at >= end) continue;
    // The file is shorter than the mapping from this page on: the rest reads as zeros
    // (one call, not a signal per page), and the reader learns it.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t from = at / page * page;
    void* zeros = ::mmap(reinterpret_cast<void*>(from), end - from, PROT_READ,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros == MAP_FAILED) break;
    if (std::atomic<bool>* flag = s.changed.load(std::memory_order_acquire))
      flag->store(true, std::memory_order_release);
    return;
  }
  PassOn(sig, info, context);
}

void InstallOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction sa {};
    sa.sa_sigaction = &OnBus;
    sa.sa_flags = SA_SIGINFO;
    ::sigemptyset(&sa.sa_mask);
    ::sigaction(SIGBUS, &sa, &g_previous);
  });
}

}  // namespace

MapGuard::MapGuard(const void* begin, std::size_t bytes) {
  if (!begin || bytes == 0) return;
  InstallOnce();
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto from = reinterpret_cast<std::uintptr_t>(begin);
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!g_slots[i].used.compare_exchange_strong(expected, true, std::memory_order_acq_rel)) continue;
    g_slots[i].changed.store(&changed_, std::memory_order_release);
    g_slots[i].end.store((from + bytes + page - 1) / page * page, std::memory_order_release);
    g_slots[i].begin.store(from, std::memory_order_release);
    slot_ = i;
    return;
  }
}

MapGuard::~MapGuard() {
  if (slot_ < 0) return;
  Slot& s = g_slots[slot_];
  s.begin.store(0, std::memory_order_release);
  s.end.store(0, std::memory_order_release);
  s.changed.store(nullptr, std::memory_order_release);
  s.used.store(false, std::memory_order_release);
}

GuardedMap::~GuardedMap() { Release(); }

bool GuardedMap::Map(int fd, std::size_t size, int extra_flags) {
  Release();
  if (size == 0) return true;
  void* m = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | extra_flags, fd, 0);
  if (m == MAP_FAILED) return false;
  guard_ = std::make_unique<MapGuard>(m, size);
  if (!guard_->Active()) {
    guard_.reset();
    ::munmap(m, size);
    errno = ENOMEM;
    return false;
  }
  data_ = static_cast<char*>(m);
  size_ = size;
  return true;
}

void GuardedMap::Release() {
  // The guard goes first: once it is gone no fault may touch the range.
  guard_.reset();
  if (data_) ::munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

bool GuardedMap::Changed() const { return guard_ && guard_->Changed(); }

}  // namespace haruvi::encoding
