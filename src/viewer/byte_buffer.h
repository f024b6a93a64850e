// The bytes of a shown file in one buffer. Big files are read into anonymous memory
// asked for in huge pages, which costs a fraction of the page faults a growing string
// does; the file itself is never mapped, so a file truncated while shown cannot fault.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace haruvi::viewer {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::string bytes) : str_(std::move(bytes)) {}
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer();

  // Reads an open file up to `size` bytes (what stat said when it was opened; a file
  // that grows meanwhile is not followed). nullopt with *error set on a read error.
  // A set `cancel` stops the read between pieces (an error, "Operation canceled").
  static std::optional<ByteBuffer> ReadAll(int fd, std::size_t size, std::string* error,
                                           const std::atomic<bool>* cancel = nullptr);

  std::string_view view() const { return map_ ? std::string_view(map_, used_) : std::string_view(str_); }
  std::size_t size() const { return map_ ? used_ : str_.size(); }
  bool empty() const { return size() == 0; }

 private:
  void Release();
  std::string str_;
  char* map_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
};

}  // namespace haruvi::viewer
