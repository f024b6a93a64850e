// An output buffer for the one-pass conversions: sized once from an estimate, written
// through a raw pointer, grown geometrically only when an estimate falls short.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::encoding {

class ByteWriter {
 public:
  explicit ByteWriter(size_t estimate) {
    buf_.resize(estimate + 16);
    p_ = buf_.data();
  }
  // Makes room for `count` more bytes; call before each step with its worst case.
  void Reserve(size_t count) {
    if (static_cast<size_t>(buf_.data() + buf_.size() - p_) < count) Grow(count);
  }
  void Put(unsigned char byte) { *p_++ = static_cast<char>(byte); }
  void Put2(unsigned char a, unsigned char b) {
    p_[0] = static_cast<char>(a);
    p_[1] = static_cast<char>(b);
    p_ += 2;
  }
  void Append(std::string_view bytes) {
    Reserve(bytes.size());
    if (!bytes.empty()) bytes.copy(p_, bytes.size());
    p_ += bytes.size();
  }
  size_t size() const { return static_cast<size_t>(p_ - buf_.data()); }
  std::string Finish() {
    buf_.resize(size());
    return std::move(buf_);
  }

 private:
  void Grow(size_t count) {
    const size_t used = size();
    buf_.resize(std::max(buf_.size() * 2, used + count + 16));
    p_ = buf_.data() + used;
  }

  std::string buf_;
  char* p_ = nullptr;
};

}  // namespace haruvi::encoding
