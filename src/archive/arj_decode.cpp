// The ARJ decompressor; see arj_decode.h. Huffman codes are canonical (shorter codes
// first, symbols in order within a length) and decoded bit by bit against the first
// code of each length, which needs no tables that hostile lengths could overflow.
#include "archive/arj_decode.h"

#include <array>
#include <vector>

namespace haruvi::archive {
namespace {

constexpr std::size_t kDicSize = 26624;
constexpr int kThreshold = 3;
constexpr int kNC = 255 + 256 + 2 - kThreshold;  // 510
constexpr int kNP = 16 + 1;
constexpr int kNT = 16 + 3;
constexpr int kCBit = 9, kPBit = 5, kTBit = 5;
constexpr int kMaxLen = 16;

class Bits {
 public:
  explicit Bits(std::string_view in) : in_(in) {}
  int Bit() {
    if (pos_ >= in_.size() * 8) {
      ++overrun_;
      ++pos_;
      return 0;  // past the end reads zeros, as the format's own readers do
    }
    const int b = (static_cast<unsigned char>(in_[pos_ >> 3]) >> (7 - (pos_ & 7))) & 1;
    ++pos_;
    return b;
  }
  std::uint32_t Get(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 1) | static_cast<std::uint32_t>(Bit());
    return v;
  }
  // Far past the end: the data is damaged.
  bool Exhausted() const { return overrun_ > 64; }

 private:
  std::string_view in_;
  std::size_t pos_ = 0;
  std::size_t overrun_ = 0;
};

class Huffman {
 public:
  // Lengths 0..16; a table of one symbol with no code length is the "single" form.
  bool Build(const std::vector<int>& len) {
    single_ = -1;
    count_.fill(0);
    symbols_.clear();
    for (int l : len)
      if (l < 0 || l > kMaxLen) return false;
    for (int l = 1; l <= kMaxLen; ++l)
      for (std::size_t s = 0; s < len.size(); ++s)
        if (len[s] == l) {
          symbols_.push_back(static_cast<int>(s));
          ++count_[static_cast<std::size_t>(l)];
        }
    return !symbols_.empty();
  }
  void Single(int symbol) {
    single_ = symbol;
    symbols_.clear();
  }
  // -1 for a code that is not in the table.
  int Decode(Bits& bits) const {
    if (single_ >= 0) return single_;
    int code = 0, first = 0, index = 0;
    for (int l = 1; l <= kMaxLen; ++l) {
      code |= bits.Bit();
      const int n = count_[static_cast<std::size_t>(l)];
      if (code - first < n) return symbols_[static_cast<std::size_t>(index + code - first)];
      index += n;
      first = (first + n) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  std::array<int, kMaxLen + 1> count_{};
  std::vector<int> symbols_;
  int single_ = -1;
};

bool ReadPtLen(Bits& b, Huffman& h, int nn, int nbit, int special) {
  const int n = static_cast<int>(b.Get(nbit));
  if (n == 0) {
    const int c = static_cast<int>(b.Get(nbit));
    if (c >= nn) return false;
    h.Single(c);
    return true;
  }
  if (n > nn) return false;
  std::vector<int> len(static_cast<std::size_t>(nn), 0);
  int i = 0;
  while (i < n) {
    int c = static_cast<int>(b.Get(3));
    if (c == 7)
      while (b.Bit()) {
        if (++c > kMaxLen) return false;
      }
    len[static_cast<std::size_t>(i++)] = c;
    if (i == special) {
      int zeros = static_cast<int>(b.Get(2));
      while (zeros-- > 0 && i < nn) len[static_cast<std::size_t>(i++)] = 0;
    }
  }
  return h.Build(len);
}

bool ReadCLen(Bits& b, const Huffman& t, Huffman& c_table) {
  const int n = static_cast<int>(b.Get(kCBit));
  if (n == 0) {
    const int c = static_cast<int>(b.Get(kCBit));
    if (c >= kNC) return false;
    c_table.Single(c);
    return true;
  }
  if (n > kNC) return false;
  std::vector<int> len(kNC, 0);
  int i = 0;
  while (i < n) {
    int c = t.Decode(b);
    if (c < 0) return false;
    if (c <= 2) {
      int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(b.Get(4)) + 3 : static_cast<int>(b.Get(kCBit)) + 20;
      while (zeros-- > 0 && i < kNC) len[static_cast<std::size_t>(i++)] = 0;
    } else {
      len[static_cast<std::size_t>(i++)] = c - 2;
    }
  }
  return c_table.Build(len);
}

// The sliding window and the output in pieces.
class Window {
 public:
  Window(std::uint64_t size, const std::function<bool(std::string_view)>& sink)
      : left_(size), sink_(sink), text_(kDicSize, '\0') {}
  bool Done() const { return left_ == 0; }
  bool Put(char c) {
    if (left_ == 0) return false;
    text_[r_] = c;
    --left_;
    if (++r_ == kDicSize) return Flush();
    return true;
  }
  bool Copy(std::size_t distance_minus_1, int length) {
    std::size_t i = (r_ + kDicSize - distance_minus_1 % kDicSize - 1) % kDicSize;
    while (length-- > 0) {
      if (!Put(text_[i])) return false;
      if (++i == kDicSize) i = 0;
    }
    return true;
  }
  bool Flush() {
    const bool ok = r_ == flushed_ || sink_(std::string_view(text_.data() + flushed_, r_ - flushed_));
    if (r_ == kDicSize) r_ = 0;
    flushed_ = r_;
    return ok;
  }

 private:
  std::uint64_t left_;
  const std::function<bool(std::string_view)>& sink_;
  std::string text_;
  std::size_t r_ = 0;
  std::size_t flushed_ = 0;
};

bool DecodeHuffman(Bits& b, Window& w, std::string* error) {
  Huffman t, c, p;
  std::uint32_t block = 0;
  while (!w.Done()) {
    if (block == 0) {
      block = b.Get(16);
      if (!ReadPtLen(b, t, kNT, kTBit, 3) || !ReadCLen(b, t, c) || !ReadPtLen(b, p, kNP, kPBit, -1)) {
        *error = "the compressed data is damaged (code tables)";
        return false;
      }
      if (block == 0 || b.Exhausted()) {
        *error = "the compressed data ends early";
        return false;
      }
    }
    --block;
    const int sym = c.Decode(b);
    if (sym < 0 || b.Exhausted()) {
      *error = "the compressed data is damaged";
      return false;
    }
    if (sym <= 255) {
      if (!w.Put(static_cast<char>(sym))) return false;
      continue;
    }
    const int length = sym - (256 - kThreshold);
    int pc = p.Decode(b);
    if (pc < 0) {
      *error = "the compressed data is damaged";
      return false;
    }
    std::size_t pos = static_cast<std::size_t>(pc);
    if (pc != 0) pos = (std::size_t{1} << (pc - 1)) + b.Get(pc - 1);
    if (!w.Copy(pos, length)) return w.Done();
  }
  return true;
}

int FixedCode(Bits& b, int start, int stop) {
  int plus = 0, pwr = 1 << start, width = start;
  for (; width < stop; ++width) {
    if (!b.Bit()) break;
    plus += pwr;
    pwr <<= 1;
  }
  return plus + (width ? static_cast<int>(b.Get(width)) : 0);
}

bool DecodeFast(Bits& b, Window& w, std::string* error) {
  while (!w.Done()) {
    if (b.Exhausted()) {
      *error = "the compressed data ends early";
      return false;
    }
    const int c = FixedCode(b, 0, 7);
    if (c == 0) {
      if (!w.Put(static_cast<char>(b.Get(8)))) return false;
      continue;
    }
    const int length = c - 1 + kThreshold;
    const int pos = FixedCode(b, 9, 13);
    if (!w.Copy(static_cast<std::size_t>(pos), length)) return w.Done();
  }
  return true;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t r = i;
      for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
      t[i] = r;
    }
    return t;
  }();
  crc = ~crc;
  for (unsigned char ch : bytes) crc = table[(crc ^ ch) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

bool ArjDecode(int method, std::string_view packed, std::uint64_t original_size,
               const std::function<bool(std::string_view)>& sink, std::string* error) {
  if (method == 0) {
    if (packed.size() != original_size) {
      *error = "the stored data has the wrong size";
      return false;
    }
    for (std::size_t at = 0; at < packed.size(); at += 256 * 1024)
      if (!sink(packed.substr(at, 256 * 1024))) return false;
    return true;
  }
  if (method < 1 || method > 4) {
    *error = "unknown compression method " + std::to_string(method);
    return false;
  }
  Bits bits(packed);
  Window w(original_size, sink);
  const bool ok = method == 4 ? DecodeFast(bits, w, error) : DecodeHuffman(bits, w, error);
  if (!ok) {
    if (error->empty()) *error = "the compressed data is damaged";
    return false;
  }
  return w.Flush();
}

}  // namespace haruvi::archive
