// Output buffers for the one-pass conversions. The loops write through a local cursor
// (so the compiler keeps it in a register) and ask for room once per chunk of input;
// the buffer is sized once from an estimate and grows geometrically only if it falls short.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// A string of `size` copies of `fill`. A big one asks the kernel for huge pages before its
// memory is first touched: a 100 MB result then costs fifty page faults, not 25,000.
std::string MakeBuffer(size_t size, char fill = '\0');

class ByteWriter {
 public:
  explicit ByteWriter(size_t estimate) : buf_(MakeBuffer(estimate + 16)) {}
  char* begin() { return buf_.data(); }
  // A cursor equal to `o` with room for `count` more bytes after it.
  char* Room(char* o, size_t count) {
    const size_t used = static_cast<size_t>(o - buf_.data());
    if (buf_.size() - used < count) {
      std::string bigger = MakeBuffer(std::max(buf_.size() * 2, used + count));
      std::memcpy(bigger.data(), buf_.data(), used);
      buf_.swap(bigger);
    }
    return buf_.data() + used;
  }
  char* Append(char* o, std::string_view bytes) {
    o = Room(o, bytes.size());
    if (!bytes.empty()) std::memcpy(o, bytes.data(), bytes.size());
    return o + bytes.size();
  }
  std::string Finish(char* o) {
    buf_.resize(static_cast<size_t>(o - buf_.data()));
    return std::move(buf_);
  }

 private:
  std::string buf_;
};

// Runs `step(p, i, stop, n, o)` (returns the next i, writes through o) over the
// characters that start before `limit`, in chunks, making room before each for `growth`
// output bytes per input byte. A step may take a whole run of characters of one kind up
// to `stop`; it may read past it (up to n) and end up to four bytes past it. Returns the
// index where the next character starts.
template <typename Step>
size_t RunSteps(const unsigned char* p, size_t limit, size_t n, size_t growth, ByteWriter& out, char*& o, Step step) {
  constexpr size_t kChunk = 1 << 16;
  size_t i = 0;
  while (i < limit) {
    const size_t stop = std::min(limit, i + kChunk);
    o = out.Room(o, growth * (stop - i + 4) + 16);
    while (i < stop) i = step(p, i, stop, n, o);
  }
  return i;
}

// RunSteps over the whole text into a buffer sized once from `estimate`.
template <typename Step>
std::string ConvertInRuns(std::string_view text, size_t estimate, size_t growth, Step step) {
  ByteWriter out(estimate);
  char* o = out.begin();
  RunSteps(reinterpret_cast<const unsigned char*>(text.data()), text.size(), text.size(), growth, out, o, step);
  return out.Finish(o);
}

// RunSteps over a piece of a longer text: whole text when `used` is null, else the
// characters that start before `limit`, *used telling where the next piece starts. The
// bytes from `limit` on are only looked at, so they must hold whatever the last
// character looks ahead at (kPieceLookahead bytes) unless the text ends there.
inline constexpr size_t kPieceLookahead = 8;
template <typename Step>
std::string ConvertPieceInRuns(std::string_view text, size_t limit, size_t* used, size_t estimate, size_t growth,
                               Step step) {
  if (!used) return ConvertInRuns(text, estimate, growth, step);
  ByteWriter out(growth * (limit + 4) + 16);
  char* o = out.begin();
  *used = RunSteps(reinterpret_cast<const unsigned char*>(text.data()), limit, text.size(), growth, out, o, step);
  return out.Finish(o);
}

// The same for steps of one character: `step(p, i, n, o)`.
template <typename Step>
auto OneCharSteps(Step& step) {
  return [&step](const unsigned char* p, size_t i, size_t, size_t n, char*& o) { return step(p, i, n, o); };
}
template <typename Step>
std::string ConvertPieceInChunks(std::string_view text, size_t limit, size_t* used, size_t estimate, size_t growth,
                                 Step step) {
  return ConvertPieceInRuns(text, limit, used, estimate, growth, OneCharSteps(step));
}

// The end of the run of bytes below 0x80 that starts at i (at most `stop`).
size_t AsciiRunEnd(const unsigned char* p, size_t i, size_t stop);
// Copies that run to *o (which advances) and returns where it ends.
inline size_t CopyAsciiRun(const unsigned char* p, size_t i, size_t stop, char*& o) {
  const size_t end = AsciiRunEnd(p, i, stop);
  std::memcpy(o, p + i, end - i);
  o += end - i;
  return end;
}

inline void Put(char*& o, unsigned char byte) { *o++ = static_cast<char>(byte); }
inline void Put2(char*& o, unsigned char a, unsigned char b) {
  o[0] = static_cast<char>(a);
  o[1] = static_cast<char>(b);
  o += 2;
}

}  // namespace haruvi::encoding
