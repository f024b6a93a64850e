#include "viewer/byte_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/system_error.h"

namespace haruvi::viewer {
namespace {

constexpr std::size_t kMapFrom = 1 << 20;  // smaller files go into a plain string

}  // namespace

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : str_(std::move(other.str_)), map_(other.map_), capacity_(other.capacity_), used_(other.used_) {
  other.map_ = nullptr;
  other.capacity_ = other.used_ = 0;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    str_ = std::move(other.str_);
    map_ = other.map_;
    capacity_ = other.capacity_;
    used_ = other.used_;
    other.map_ = nullptr;
    other.capacity_ = other.used_ = 0;
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { Release(); }

void ByteBuffer::Release() {
  if (map_) ::munmap(map_, capacity_);
  map_ = nullptr;
  capacity_ = used_ = 0;
}

std::optional<ByteBuffer> ByteBuffer::ReadAll(int fd, std::size_t size, std::string* error,
                                              const std::atomic<bool>* cancel) {
  ByteBuffer b;
  auto fail = [&]() -> std::optional<ByteBuffer> {
    if (error) *error = platform::SystemErrorText(errno);
    return std::nullopt;
  };
  // Reads until `size` bytes or the end, whichever comes first: a file growing while it
  // is read is read to the size it had, so a log being written cannot run memory out.
  auto fill = [&](char* into, std::size_t* done) -> bool {
    while (*done < size) {
      // In pieces, so a read that is no longer wanted stops soon.
      if (cancel && cancel->load(std::memory_order_relaxed)) {
        errno = ECANCELED;
        return false;
      }
      ssize_t n = ::read(fd, into + *done, std::min<std::size_t>(size - *done, std::size_t{16} << 20));
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      *done += static_cast<std::size_t>(n);
    }
    return true;
  };
  if (size < kMapFrom) {
    std::string s(size, '\0');
    std::size_t done = 0;
    if (!fill(s.data(), &done)) return fail();
    s.resize(done);
    b.str_ = std::move(s);
    return b;
  }
  b.capacity_ = size;
  void* p = ::mmap(nullptr, b.capacity_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) {
    b.capacity_ = 0;
    return fail();
  }
  b.map_ = static_cast<char*>(p);
  ::madvise(b.map_, b.capacity_, MADV_HUGEPAGE);
  if (!fill(b.map_, &b.used_)) return fail();
  return b;
}

}  // namespace haruvi::viewer
