// The -lh5- compressor: greedy-with-one-step-lazy LZ77 on hash chains, then blocks of
// canonical Huffman codes (literal/length, position bit counts, and the code lengths
// coded once more), written most significant bit first as every LZH reader expects.
#include "archive/lh5_encoder.h"

#include <algorithm>
#include <array>
#include <queue>
#include <vector>

namespace haruvi::archive {
namespace {

constexpr int kDicBits = 13;
constexpr std::size_t kDicSize = std::size_t{1} << kDicBits;  // distances 1..8192
constexpr int kMaxMatch = 256;
constexpr int kThreshold = 3;
constexpr int kNC = 255 + kMaxMatch + 2 - kThreshold;  // 510 literal/length codes
constexpr int kNP = kDicBits + 1;                     // 14 position classes
constexpr int kNT = 16 + 3;                           // 19 code-length codes
constexpr int kCBit = 9, kPBit = 4, kTBit = 5;
constexpr int kMaxCodeLength = 16;
constexpr std::size_t kBlockTokens = 16384;  // the block header counts them in 16 bits
constexpr int kHashBits = 15;
constexpr int kMaxChain = 128;
constexpr std::size_t kTooFar = 4096;  // a 3-byte match this far costs more than literals

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Put(int n, std::uint32_t v) {
    for (int i = n - 1; i >= 0; --i) {
      acc_ = static_cast<std::uint8_t>((acc_ << 1) | ((v >> i) & 1u));
      if (++bits_ == 8) {
        out_.push_back(static_cast<char>(acc_));
        acc_ = 0;
        bits_ = 0;
      }
    }
  }
  void Flush() {
    if (bits_) out_.push_back(static_cast<char>(acc_ << (8 - bits_)));
    acc_ = 0;
    bits_ = 0;
  }

 private:
  std::string& out_;
  std::uint8_t acc_ = 0;
  int bits_ = 0;
};

// Huffman code lengths of at most kMaxCodeLength bits; frequencies are halved until the
// tree fits (rare: it takes a very skewed block).
std::vector<int> CodeLengths(std::vector<std::uint32_t> freq) {
  const int n = static_cast<int>(freq.size());
  std::vector<int> len(freq.size(), 0);
  for (;;) {
    using Node = std::pair<std::uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> heap;
    std::vector<int> parent;
    parent.reserve(2 * freq.size());
    for (int i = 0; i < n; ++i) {
      parent.push_back(-1);
      if (freq[i]) heap.push({freq[i], i});
    }
    if (heap.size() < 2) return len;  // zero or one symbol: the callers' special forms
    while (heap.size() > 1) {
      const Node a = heap.top();
      heap.pop();
      const Node b = heap.top();
      heap.pop();
      const int id = static_cast<int>(parent.size());
      parent.push_back(-1);
      parent[a.second] = id;
      parent[b.second] = id;
      heap.push({a.first + b.first, id});
    }
    int longest = 0;
    for (int i = 0; i < n; ++i) {
      if (!freq[i]) continue;
      int depth = 0;
      for (int p = parent[i]; p != -1; p = parent[p]) ++depth;
      len[i] = depth;
      longest = std::max(longest, depth);
    }
    if (longest <= kMaxCodeLength) return len;
    for (auto& f : freq)
      if (f) f = (f + 1) / 2;
  }
}

std::vector<std::uint16_t> CanonicalCodes(const std::vector<int>& len) {
  std::array<std::uint32_t, kMaxCodeLength + 2> count{}, next{};
  for (int l : len)
    if (l) ++count[l];
  std::uint32_t code = 0;
  for (int l = 1; l <= kMaxCodeLength; ++l) {
    next[l] = code;
    code = (code + count[l]) << 1;
  }
  std::vector<std::uint16_t> codes(len.size(), 0);
  for (std::size_t i = 0; i < len.size(); ++i)
    if (len[i]) codes[i] = static_cast<std::uint16_t>(next[len[i]]++);
  return codes;
}

int SoleSymbol(const std::vector<std::uint32_t>& freq) {
  for (std::size_t i = 0; i < freq.size(); ++i)
    if (freq[i]) return static_cast<int>(i);
  return 0;
}

int UsedCount(const std::vector<std::uint32_t>& freq) {
  return static_cast<int>(std::count_if(freq.begin(), freq.end(), [](std::uint32_t f) { return f != 0; }));
}

void WritePtLen(BitWriter& w, const std::vector<int>& len, int nbit, int special) {
  int n = static_cast<int>(len.size());
  while (n > 0 && len[n - 1] == 0) --n;
  w.Put(nbit, static_cast<std::uint32_t>(n));
  int i = 0;
  while (i < n) {
    const int k = len[i++];
    if (k <= 6) w.Put(3, static_cast<std::uint32_t>(k));
    else w.Put(k - 3, (1u << (k - 3)) - 2);
    if (i == special) {
      while (i < 6 && i < n && len[i] == 0) ++i;
      w.Put(2, static_cast<std::uint32_t>((i - 3) & 3));
    }
  }
}

// The zero runs of the literal/length code lengths, as the code-length code sees them.
template <typename Emit>
void WalkCLen(const std::vector<int>& c_len, Emit emit) {
  int n = kNC;
  while (n > 0 && c_len[n - 1] == 0) --n;
  int i = 0;
  while (i < n) {
    const int k = c_len[i++];
    if (k != 0) {
      emit(k + 2, 0, 0);
      continue;
    }
    int count = 1;
    while (i < n && c_len[i] == 0) {
      ++i;
      ++count;
    }
    if (count <= 2) {
      for (int j = 0; j < count; ++j) emit(0, 0, 0);
    } else if (count <= 18) {
      emit(1, 4, count - 3);
    } else if (count == 19) {
      emit(0, 0, 0);
      emit(1, 4, 15);
    } else {
      emit(2, kCBit, count - 20);
    }
  }
}

int TrimmedCLen(const std::vector<int>& c_len) {
  int n = kNC;
  while (n > 0 && c_len[n - 1] == 0) --n;
  return n;
}

class Encoder {
 public:
  explicit Encoder(std::string& out) : w_(out), c_freq_(kNC, 0), p_freq_(kNP, 0) {}

  void Literal(unsigned char c) { Add(c, -1); }
  void Match(int length, std::size_t distance) { Add(length - kThreshold + 256, static_cast<int>(distance - 1)); }
  void Finish() {
    if (!codes_.empty()) EmitBlock();
    w_.Flush();
  }

 private:
  static int PosClass(int p) {
    int c = 0;
    while (p) {
      ++c;
      p >>= 1;
    }
    return c;
  }
  void Add(int code, int pos) {
    codes_.push_back(static_cast<std::uint16_t>(code));
    ++c_freq_[code];
    if (pos >= 0) {
      positions_.push_back(static_cast<std::uint16_t>(pos));
      ++p_freq_[PosClass(pos)];
    }
    if (codes_.size() == kBlockTokens) EmitBlock();
  }

  void EmitBlock() {
    w_.Put(16, static_cast<std::uint32_t>(codes_.size()));
    const std::vector<int> c_len = CodeLengths(c_freq_);
    std::vector<int> t_len(kNT, 0);
    std::vector<std::uint16_t> t_code(kNT, 0);
    if (UsedCount(c_freq_) <= 1) {
      w_.Put(kTBit, 0);
      w_.Put(kTBit, 0);
      w_.Put(kCBit, 0);
      w_.Put(kCBit, static_cast<std::uint32_t>(SoleSymbol(c_freq_)));
    } else {
      std::vector<std::uint32_t> t_freq(kNT, 0);
      WalkCLen(c_len, [&](int sym, int, int) { ++t_freq[sym]; });
      if (UsedCount(t_freq) <= 1) {
        w_.Put(kTBit, 0);
        w_.Put(kTBit, static_cast<std::uint32_t>(SoleSymbol(t_freq)));
      } else {
        t_len = CodeLengths(t_freq);
        t_code = CanonicalCodes(t_len);
        WritePtLen(w_, t_len, kTBit, 3);
      }
      w_.Put(kCBit, static_cast<std::uint32_t>(TrimmedCLen(c_len)));
      WalkCLen(c_len, [&](int sym, int extra_bits, int extra) {
        w_.Put(t_len[sym], t_code[sym]);
        if (extra_bits) w_.Put(extra_bits, static_cast<std::uint32_t>(extra));
      });
    }
    const std::vector<std::uint16_t> c_code = CanonicalCodes(c_len);
    std::vector<int> p_len(kNP, 0);
    std::vector<std::uint16_t> p_code(kNP, 0);
    if (UsedCount(p_freq_) <= 1) {
      w_.Put(kPBit, 0);
      w_.Put(kPBit, static_cast<std::uint32_t>(SoleSymbol(p_freq_)));
    } else {
      p_len = CodeLengths(p_freq_);
      p_code = CanonicalCodes(p_len);
      WritePtLen(w_, p_len, kPBit, -1);
    }
    std::size_t next_pos = 0;
    for (std::uint16_t code : codes_) {
      w_.Put(c_len[code], c_code[code]);
      if (code < 256) continue;
      const int p = positions_[next_pos++];
      const int cls = PosClass(p);
      w_.Put(p_len[cls], p_code[cls]);
      if (cls > 1) w_.Put(cls - 1, static_cast<std::uint32_t>(p) & ((1u << (cls - 1)) - 1));
    }
    codes_.clear();
    positions_.clear();
    std::fill(c_freq_.begin(), c_freq_.end(), 0);
    std::fill(p_freq_.begin(), p_freq_.end(), 0);
  }

  BitWriter w_;
  std::vector<std::uint32_t> c_freq_, p_freq_;
  std::vector<std::uint16_t> codes_, positions_;
};

class MatchFinder {
 public:
  explicit MatchFinder(std::string_view data)
      : data_(data), head_(std::size_t{1} << kHashBits, 0), prev_(kDicSize, 0) {}

  // Records position `pos` (3 bytes must remain) in the chains.
  void Insert(std::size_t pos) {
    const std::uint32_t h = Hash(pos);
    prev_[pos & (kDicSize - 1)] = head_[h];
    head_[h] = static_cast<std::uint32_t>(pos + 1);
  }

  // Longest match for `pos` before it is inserted: length (0 if none) and distance.
  int Longest(std::size_t pos, std::size_t* distance) const {
    const std::size_t avail = std::min<std::size_t>(kMaxMatch, data_.size() - pos);
    if (avail < static_cast<std::size_t>(kThreshold)) return 0;
    int best = 0;
    std::uint32_t cand = head_[Hash(pos)];
    for (int chain = 0; cand && chain < kMaxChain; ++chain) {
      const std::size_t at = cand - 1;
      if (pos - at > kDicSize) break;
      if (data_[at + best] == data_[pos + best]) {
        std::size_t n = 0;
        while (n < avail && data_[at + n] == data_[pos + n]) ++n;
        if (static_cast<int>(n) > best) {
          best = static_cast<int>(n);
          *distance = pos - at;
          if (n == avail) break;
        }
      }
      const std::uint32_t next = prev_[at & (kDicSize - 1)];
      if (next == 0 || next - 1 >= at) break;  // the slot was reused by a newer position
      cand = next;
    }
    if (best == kThreshold && *distance > kTooFar) return 0;
    return best >= kThreshold ? best : 0;
  }

 private:
  std::uint32_t Hash(std::size_t pos) const {
    const auto b = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(data_[k])); };
    return ((b(pos) << 10) ^ (b(pos + 1) << 5) ^ b(pos + 2)) & ((1u << kHashBits) - 1);
  }

  std::string_view data_;
  std::vector<std::uint32_t> head_;
  std::vector<std::uint32_t> prev_;
};

}  // namespace

std::uint16_t Crc16(std::string_view bytes, std::uint16_t crc) {
  static const std::array<std::uint16_t, 256> table = [] {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned r = i;
      for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
      t[i] = static_cast<std::uint16_t>(r);
    }
    return t;
  }();
  for (unsigned char c : bytes) crc = static_cast<std::uint16_t>(table[(crc ^ c) & 0xFF] ^ (crc >> 8));
  return crc;
}

std::string Lh5Compress(std::string_view data) {
  std::string out;
  out.reserve(data.size() / 2 + 64);
  Encoder enc(out);
  MatchFinder finder(data);
  const std::size_t size = data.size();
  const auto insert = [&](std::size_t pos) {
    if (pos + kThreshold <= size) finder.Insert(pos);
  };
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t dist = 0;
    const int len = finder.Longest(pos, &dist);
    if (len == 0) {
      insert(pos);
      enc.Literal(static_cast<unsigned char>(data[pos++]));
      continue;
    }
    // One step of lazy evaluation: a longer match at the next byte wins.
    insert(pos);
    std::size_t dist2 = 0;
    if (len < 32 && pos + 1 < size && finder.Longest(pos + 1, &dist2) > len) {
      enc.Literal(static_cast<unsigned char>(data[pos++]));
      continue;
    }
    enc.Match(len, dist);
    for (std::size_t k = 1; k < static_cast<std::size_t>(len); ++k) insert(pos + k);
    pos += static_cast<std::size_t>(len);
  }
  enc.Finish();
  return out;
}

}  // namespace haruvi::archive
