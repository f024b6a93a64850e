// The line format of uuencode and the BinHex 4.0 character coding. Both write groups of
// three bytes as four 6-bit characters, twelve bits per table look-up.
#include <array>
#include <cstdint>
#include <cstring>

#include "encoding/byte_writer.h"
#include "encoding/codings.h"

namespace haruvi::encoding {
namespace {

constexpr uint8_t kInvalid = 0xFF, kLineEnd = 0xFE;

// 64 characters in value order, their 12-bit pairs, and the way back.
struct SixBitCode {
  std::array<char, 64> chars{};
  std::array<char, 2 * 4096> pairs{};
  std::array<uint8_t, 256> value{};

  template <typename CharOf>
  constexpr explicit SixBitCode(CharOf char_of) {
    for (int v = 0; v < 64; ++v) chars[v] = static_cast<char>(char_of(v));
    for (int v = 0; v < 4096; ++v) {
      pairs[2 * v] = chars[v >> 6];
      pairs[2 * v + 1] = chars[v & 63];
    }
    for (auto& x : value) x = kInvalid;
    for (int v = 0; v < 64; ++v) value[static_cast<unsigned char>(chars[v])] = static_cast<uint8_t>(v);
    value['\r'] = value['\n'] = kLineEnd;
  }

  // Four characters for p[0..2].
  void Group(const unsigned char* p, char* o) const {
    const uint32_t v = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    std::memcpy(o, &pairs[2 * (v >> 12)], 2);
    std::memcpy(o + 2, &pairs[2 * (v & 0xFFF)], 2);
  }
};

constexpr int UuChar(int v) { return v == 0 ? 0x60 : 0x20 + v; }

constexpr int BinHexChar(int v) {
  constexpr const char* kRanges[] = {"\x21\x2D", "\x30\x36", "\x38\x39", "\x40\x4E", "\x50\x56",
                                     "\x58\x5B", "\x60\x66", "\x68\x6D", "\x70\x72"};
  for (const char* r : kRanges) {
    const int size = r[1] - r[0] + 1;
    if (v < size) return r[0] + v;
    v -= size;
  }
  return 0;
}

constexpr SixBitCode kUu(UuChar);
constexpr SixBitCode kBinHex(BinHexChar);

// A uuencode character's value: every byte but a line end has one (space and grave
// accent both stand for 0).
uint32_t UuValue(unsigned char c) { return static_cast<uint32_t>(c - 0x20) & 0x3F; }
bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }
bool HasLineEnd(const unsigned char* p, size_t size) {
  unsigned found = 0;
  for (size_t k = 0; k < size; ++k) found |= static_cast<unsigned>(p[k] == '\r') | static_cast<unsigned>(p[k] == '\n');
  return found != 0;
}

// A uuencoded file or mail part starts with "begin MODE NAME" and ends with "end": the
// body starts after the begin line (empty lines before it skipped), and an "end" line
// ends the decoding, so neither is read as a body line.
size_t SkipBeginLine(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsLineEnd(static_cast<unsigned char>(text[i]))) ++i;
  if (text.substr(i, 6) != "begin ") return 0;
  while (i < text.size() && !IsLineEnd(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

bool IsEndLine(std::string_view text, size_t i) {
  return text.substr(i, 3) == "end" && (i + 3 == text.size() || IsLineEnd(static_cast<unsigned char>(text[i + 3])));
}

}  // namespace

std::string UuEncode(std::string_view text, std::string_view sep) { return UuEncodePiece(text, sep, true); }

std::string UuEncodePiece(std::string_view text, std::string_view sep, bool last) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const size_t full = n / 45, rest = n % 45;
  const size_t size = full * (61 + sep.size()) + (rest ? 1 + 4 * ((rest + 2) / 3) : 0) + (last ? 2 * sep.size() + 1 : 0);
  std::string out = MakeBuffer(size, '\0');
  char* o = out.data();
  for (size_t line = 0; line < full; ++line, p += 45) {
    *o++ = 'M';
    for (int g = 0; g < 15; ++g, o += 4) kUu.Group(p + 3 * g, o);
    sep.copy(o, sep.size());
    o += sep.size();
  }
  if (rest) {
    *o++ = static_cast<char>(0x20 + rest);
    unsigned char tail[45] = {};  // the last group is filled up with zero bytes
    std::memcpy(tail, p, rest);
    for (size_t g = 0; g < (rest + 2) / 3; ++g, o += 4) kUu.Group(tail + 3 * g, o);
  }
  if (!last) return out;
  sep.copy(o, sep.size());
  o += sep.size();
  *o++ = '`';
  sep.copy(o, sep.size());
  return out;
}

std::string UuDecode(std::string_view text) { return UuDecode(text, nullptr); }

std::string UuDecode(std::string_view text, bool* ended, bool at_start) {
  if (ended) *ended = false;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  ByteWriter out(n - n / 4 + 8);
  char* o = out.begin();
  size_t i = at_start ? SkipBeginLine(text) : 0;
  while (i < n) {
    if (IsLineEnd(p[i])) {
      ++i;
      continue;
    }
    if (IsEndLine(text, i)) {
      if (ended) *ended = true;  // nothing after "end" is read, in one piece or many
      break;
    }
    const unsigned char length_char = p[i++];
    int count = static_cast<int>(UuValue(length_char));
    o = out.Room(o, static_cast<size_t>(count) + 3);
    if (count == 45 && i + 60 <= n && !HasLineEnd(p + i, 60)) {  // a full line, the usual case
      for (int g = 0; g < 15; ++g, i += 4, o += 3) {
        const uint32_t v = (UuValue(p[i]) << 18) | (UuValue(p[i + 1]) << 12) | (UuValue(p[i + 2]) << 6) | UuValue(p[i + 3]);
        o[0] = static_cast<char>(v >> 16);
        o[1] = static_cast<char>(v >> 8);
        o[2] = static_cast<char>(v);
      }
      count = 0;
    }
    while (count > 0) {
      if (i + 4 <= n && !IsLineEnd(p[i]) && !IsLineEnd(p[i + 1]) && !IsLineEnd(p[i + 2]) && !IsLineEnd(p[i + 3])) {
        const uint32_t v = (UuValue(p[i]) << 18) | (UuValue(p[i + 1]) << 12) | (UuValue(p[i + 2]) << 6) | UuValue(p[i + 3]);
        Put(o, static_cast<unsigned char>(v >> 16));
        if (count > 1) Put(o, static_cast<unsigned char>(v >> 8));
        if (count > 2) Put(o, static_cast<unsigned char>(v));
        i += 4;
        count -= 3;
        continue;
      }
      // A group cut short by the line end or the end of the input.
      uint32_t v = 0;
      int got = 0;
      while (got < 4 && i < n && !IsLineEnd(p[i])) v |= UuValue(p[i++]) << (18 - 6 * got++);
      if (got >= 2) Put(o, static_cast<unsigned char>(v >> 16));
      if (got >= 3 && count > 1) Put(o, static_cast<unsigned char>(v >> 8));
      break;
    }
    while (i < n && !IsLineEnd(p[i])) ++i;  // whatever follows the line's groups
    if (length_char != 'M') {
      if (ended) *ended = true;
      break;
    }
  }
  return out.Finish(o);
}

std::string BinHexEncode(std::string_view text, std::string_view sep) {
  return BinHexEncodePiece(text, sep, true, true);
}

std::string BinHexEncodePiece(std::string_view text, std::string_view sep, bool first, bool last) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const size_t groups = n / 3, rest = n % 3;
  std::string out = MakeBuffer(first + last + 4 * groups + (rest ? rest + 1 : 0) + (groups / 16) * sep.size(), '\0');
  char* o = out.data();
  if (first) *o++ = ':';
  // Every 16th group's third character ends a line of 64 (the first line counts its ':').
  for (size_t g = 0; g < groups; ++g, p += 3) {
    char four[4];
    kBinHex.Group(p, four);
    std::memcpy(o, four, 3);
    o += 3;
    if ((g + 1) % 16 == 0) {
      sep.copy(o, sep.size());
      o += sep.size();
    }
    *o++ = four[3];
  }
  if (rest) {
    const unsigned char tail[3] = {p[0], rest == 2 ? p[1] : static_cast<unsigned char>(0), 0};
    char four[4];
    kBinHex.Group(tail, four);
    std::memcpy(o, four, rest + 1);
    o += rest + 1;
  }
  if (last) *o = ':';
  return out;
}

std::string BinHexDecode(std::string_view text) {
  // Three bytes for every four characters at most: the first estimate is enough.
  std::string out = MakeBuffer(3 * (text.size() / 4) + 6);
  out.clear();
  BinHexDecoder decoder;
  decoder.Decode(text, out);
  return out;
}

void BinHexDecoder::Decode(std::string_view text, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (done_ || n == 0) return;
  const size_t had = out.size();
  out.resize(had + 3 * (n / 4) + 6);
  char* const begin = out.data();
  char* o = begin + had;
  size_t i = 0;
  if (!started_) {
    started_ = true;
    i = 1;  // past the opening ':'
  }
  // The characters of the group in progress, line ends skipped; a group's bytes are
  // written as soon as their characters are there.
  while (i < n) {
    if (have_ == 0 && i + 4 <= n) {
      const uint32_t a = kBinHex.value[p[i]], b = kBinHex.value[p[i + 1]];
      const uint32_t c = kBinHex.value[p[i + 2]], d = kBinHex.value[p[i + 3]];
      if (((a | b | c | d) & 0xC0) == 0) {
        const uint32_t v = (a << 18) | (b << 12) | (c << 6) | d;
        Put2(o, static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8));
        Put(o, static_cast<unsigned char>(v));
        i += 4;
        continue;
      }
    }
    const uint8_t v = kBinHex.value[p[i++]];
    if (v == kLineEnd) continue;
    if (v == kInvalid) {
      done_ = true;
      break;
    }
    if (have_ == 1) Put(o, static_cast<unsigned char>((prev_ << 2) | (v >> 4)));
    if (have_ == 2) Put(o, static_cast<unsigned char>(((prev_ & 15) << 4) | (v >> 2)));
    if (have_ == 3) Put(o, static_cast<unsigned char>((prev_ << 6) | v));
    prev_ = v;
    have_ = (have_ + 1) % 4;
  }
  out.resize(static_cast<size_t>(o - begin));
}

}  // namespace haruvi::encoding
