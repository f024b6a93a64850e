#include "viewer/byte_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::optional<ByteBuffer> ByteBuffer::ReadAll(int fd, std::size_t size_hint, std::string* error) {
  ByteBuffer b;
  auto fail = [&]() -> std::optional<ByteBuffer> {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  };
  if (size_hint < kMapFrom) {
    std::string s(size_hint, '\0');
    std::size_t done = 0;
    for (;;) {
      if (done == s.size()) s.resize(s.size() + 65536);
      ssize_t n = ::read(fd, s.data() + done, s.size() - done);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        return fail();
      }
      done += static_cast<std::size_t>(n);
    }
    s.resize(done);
    b.str_ = std::move(s);
    return b;
  }
  b.capacity_ = size_hint + 65536;
  void* p = ::mmap(nullptr, b.capacity_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) {
    b.capacity_ = 0;
    return fail();
  }
  b.map_ = static_cast<char*>(p);
  ::madvise(b.map_, b.capacity_, MADV_HUGEPAGE);
  for (;;) {
    if (b.used_ == b.capacity_) {
      // The file grew while it was read: make room and go on to its end.
      const std::size_t bigger = b.capacity_ + b.capacity_ / 2;
      void* q = ::mremap(b.map_, b.capacity_, bigger, MREMAP_MAYMOVE);
      if (q == MAP_FAILED) return fail();
      b.map_ = static_cast<char*>(q);
      b.capacity_ = bigger;
    }
    ssize_t n = ::read(fd, b.map_ + b.used_, b.capacity_ - b.used_);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    b.used_ += static_cast<std::size_t>(n);
  }
  return b;
}

}  // namespace haruvi::viewer
