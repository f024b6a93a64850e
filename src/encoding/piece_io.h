// Reading and writing big inputs in pieces, so a command's memory stays bounded whatever
// the input's size: a reader that holds a window of the input and lets its user take
// only whole characters from it, a writer that gathers output into blocks, and a
// whole-input reader that grows its buffer in place for the commands that need it all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "encoding/guarded_map.h"
#include "encoding/sjis_char.h"

namespace haruvi::encoding {

// The most a piecewise command holds at once of one line (or one unit it cannot cut).
inline constexpr std::size_t kMaxHeldBytes = std::size_t{64} << 20;
inline constexpr std::string_view kMaxHeldText = "64 MiB";
// The size of the pieces read.
inline constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// A unit (a line, an encoded word) longer than kMaxHeldBytes: the command stops.
class PieceLimitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The end of the longest prefix of `bytes` that ends on a Shift_JIS character boundary,
// given that `bytes` starts on one: just after the last byte that is no lead byte (such a
// byte always ends a character), or after the last whole pair of a run of lead bytes.
inline std::size_t SjisBoundaryBefore(std::string_view bytes) {
  std::size_t k = bytes.size();
  while (k > 0 && IsLeadByte(static_cast<unsigned char>(bytes[k - 1]))) --k;
  // bytes[k, size) are lead bytes after a boundary at k: they pair up from k.
  return k + (bytes.size() - k) / 2 * 2;
}

// An input read in pieces. Held() is the window of bytes read and not yet consumed; the
// bytes a user leaves unconsumed stay at its front when more are read.
class PieceSource {
 public:
  virtual ~PieceSource() = default;
  // Reads until at least `want` bytes are held or the input ends; false on a read error
  // (errno tells which).
  virtual bool Fill(std::size_t want) = 0;
  virtual std::string_view Held() const = 0;
  virtual void Consume(std::size_t count) = 0;
  // No byte is left to read (Held() may still have some).
  virtual bool AtEnd() const = 0;
};

// A descriptor as a PieceSource.
class PieceReader : public PieceSource {
 public:
  // Reads at most `limit` bytes (a regular file: the size it had when opened).
  explicit PieceReader(int fd, std::uint64_t limit = UINT64_MAX);
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;

  bool Fill(std::size_t want) override;
  std::string_view Held() const override { return std::string_view(buf_).substr(start_, end_ - start_); }
  void Consume(std::size_t count) override { start_ += count; }
  bool AtEnd() const override { return at_end_; }
  std::uint64_t BytesRead() const { return read_; }

 private:
  int fd_;
  std::uint64_t limit_;
  std::uint64_t read_ = 0;
  bool at_end_ = false;
  std::string buf_;
  std::size_t start_ = 0, end_ = 0;
};

// Output gathered into blocks of about `block` bytes, each handed to `sink` (which
// returns false on a write error). A big piece goes to the sink as it is.
class ChunkWriter {
 public:
  using Sink = std::function<bool(std::string_view)>;
  explicit ChunkWriter(Sink sink, std::size_t block = kPieceBytes) : sink_(std::move(sink)), block_(block) {}
  ChunkWriter(const ChunkWriter&) = delete;
  ChunkWriter& operator=(const ChunkWriter&) = delete;

  bool Append(std::string_view bytes);
  bool Flush();

 private:
  // Hands the block on once it has grown to its size.
  bool Commit() { return buf_.size() < block_ || Flush(); }

  Sink sink_;
  std::size_t block_;
  std::string buf_;
};

// A whole input held once: read from a stream into a buffer that grows in place (no copy
// of what was read and no doubling beyond the page), or a regular file's mapping.
class WholeInput {
 public:
  WholeInput() = default;
  WholeInput(const WholeInput&) = delete;
  WholeInput& operator=(const WholeInput&) = delete;
  WholeInput(WholeInput&& other) noexcept;
  WholeInput& operator=(WholeInput&& other) noexcept;
  ~WholeInput();

  // Reads `fd` to its end, or up to `limit` bytes; false on a read error (errno kept) or
  // when no memory is left (errno ENOMEM).
  bool ReadFrom(int fd, std::uint64_t limit = UINT64_MAX);
  // Maps `size` bytes of a regular file; false when it cannot be mapped. The mapping is
  // guarded: a file cut short meanwhile reads as zeros past the cut and Changed() says so.
  bool Map(int fd, std::size_t size);
  std::string_view Bytes() const {
    return map_ ? std::string_view(map_->data(), map_->size()) : std::string_view(data_, size_);
  }
  // True when the mapped file lost pages while it was read: the bytes are not the file's.
  bool Changed() const { return map_ && map_->Changed(); }

 private:
  void Release();
  char* data_ = nullptr;      // what was read
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // of the anonymous mapping read into
  std::unique_ptr<GuardedMap> map_;
};

}  // namespace haruvi::encoding
