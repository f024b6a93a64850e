// Piecewise reading and writing; see piece_io.h.
#include "encoding/piece_io.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>


namespace haruvi::encoding {

PieceReader::PieceReader(int fd, std::uint64_t limit) : fd_(fd), limit_(limit) {}

bool PieceReader::Fill(std::size_t want) {
  while (!at_end_ && end_ - start_ < want) {
    const std::size_t held = end_ - start_;
    const std::size_t need = std::max(want, held + kPieceBytes / 4);
    if (buf_.size() - start_ < need) {
      // The unconsumed bytes move to the front, and the buffer grows if still short.
      if (start_ > 0) std::memmove(buf_.data(), buf_.data() + start_, held);
      start_ = 0;
      end_ = held;
      if (buf_.size() < need) buf_.resize(std::max(need, kPieceBytes));
    }
    const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(buf_.size() - end_, limit_ - read_));
    if (room == 0) {
      at_end_ = true;
      break;
    }
    const ssize_t n = ::read(fd_, buf_.data() + end_, room);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) at_end_ = true;
    end_ += static_cast<std::size_t>(n);
    read_ += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool ChunkWriter::Append(std::string_view bytes) {
  if (bytes.size() >= block_) return Flush() && sink_(bytes);
  buf_.append(bytes);
  return Commit();
}

bool ChunkWriter::Flush() {
  if (buf_.empty()) return true;
  const bool ok = sink_(buf_);
  buf_.clear();
  return ok;
}

WholeInput::WholeInput(WholeInput&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      map_(std::move(other.map_)) {}

WholeInput& WholeInput::operator=(WholeInput&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    map_ = std::move(other.map_);
  }
  return *this;
}

WholeInput::~WholeInput() { Release(); }

void WholeInput::Release() {
  if (data_ && capacity_) ::munmap(data_, capacity_);
  data_ = nullptr;
  size_ = capacity_ = 0;
  map_.reset();
}

bool WholeInput::Map(int fd, std::size_t size) {
  Release();
  if (size == 0) return true;
  auto map = std::make_unique<GuardedMap>();
  if (!map->Map(fd, size, MAP_POPULATE)) return false;
  map_ = std::move(map);
  return true;
}

bool WholeInput::ReadFrom(int fd, std::uint64_t limit) {
  Release();
  // An anonymous mapping that mremap grows in place (or moves by remapping pages, never
  // by copying them): the input costs its own size and no more.
  for (;;) {
    if (size_ == capacity_) {
      const std::size_t bigger = capacity_ ? capacity_ * 2 : std::size_t{1} << 20;
      void* m = capacity_ ? ::mremap(data_, capacity_, bigger, MREMAP_MAYMOVE)
                          : ::mmap(nullptr, bigger, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (m == MAP_FAILED) {
        errno = ENOMEM;
        return false;
      }
      data_ = static_cast<char*>(m);
      capacity_ = bigger;
    }
    const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_ - size_, limit - size_));
    if (room == 0) return true;
    const ssize_t n = ::read(fd, data_ + size_, room);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    size_ += static_cast<std::size_t>(n);
  }
}

}  // namespace haruvi::encoding
