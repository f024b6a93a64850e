// Base64 and mail-header encoded words. Base64 goes twelve bits per table look-up on the
// way out and four characters at a time on the way in, falling back to one character at
// a time only where a line end or a stray byte stands.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "encoding/byte_writer.h"
#include "encoding/codings.h"
#include "encoding/jis_convert.h"
#include "encoding/piece_io.h"
#include "encoding/sjis_char.h"

namespace haruvi::encoding {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kSkip = 0x80, kPad = 0x81;

// Two Base64 characters for every 12-bit value.
struct PairTable {
  std::array<char, 2 * 4096> chars{};
  constexpr PairTable() {
    for (int v = 0; v < 4096; ++v) {
      chars[2 * v] = kAlphabet[v >> 6];
      chars[2 * v + 1] = kAlphabet[v & 63];
    }
  }
};
constexpr PairTable kPairs;

struct DecodeTable {
  std::array<uint8_t, 256> value{};
  constexpr DecodeTable() {
    for (auto& v : value) v = kSkip;
    for (int k = 0; k < 64; ++k) value[static_cast<unsigned char>(kAlphabet[k])] = static_cast<uint8_t>(k);
    value['='] = kPad;
  }
};
constexpr DecodeTable kDecode;

const char kMimePrefix[] = "=?ISO-2022-JP?B?";
constexpr size_t kMimePrefixLength = sizeof kMimePrefix - 1;

// The position of the next encoded-word prefix at or after `from`, in any letter case.
size_t FindMimePrefix(std::string_view text, size_t from) {
  while (from + kMimePrefixLength <= text.size()) {
    const void* hit = std::memchr(text.data() + from, '=', text.size() - from);
    if (!hit) break;
    const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    if (at + kMimePrefixLength > text.size()) break;
    bool same = true;
    for (size_t k = 1; k < kMimePrefixLength && same; ++k) {
      char ch = text[at + k];
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
      same = ch == kMimePrefix[k];
    }
    if (same) return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string Base64Encode(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  std::string out = MakeBuffer(4 * ((n + 2) / 3), '=');
  char* o = out.data();
  size_t i = 0;
  for (; i + 3 <= n; i += 3, o += 4) {
    const uint32_t v = (uint32_t{p[i]} << 16) | (uint32_t{p[i + 1]} << 8) | p[i + 2];
    std::memcpy(o, &kPairs.chars[2 * (v >> 12)], 2);
    std::memcpy(o + 2, &kPairs.chars[2 * (v & 0xFFF)], 2);
  }
  if (n - i == 1) {
    o[0] = kAlphabet[p[i] >> 2];
    o[1] = kAlphabet[(p[i] & 3) << 4];
  } else if (n - i == 2) {
    o[0] = kAlphabet[p[i] >> 2];
    o[1] = kAlphabet[((p[i] & 3) << 4) | (p[i + 1] >> 4)];
    o[2] = kAlphabet[(p[i + 1] & 15) << 2];
  }
  return out;
}

void Base64Decoder::Decode(std::string_view text, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const size_t had = out.size();
  out.resize(had + 3 * (n / 4) + 6);
  auto* o = reinterpret_cast<unsigned char*>(out.data()) + had;
  uint32_t group = group_;  // the values collected so far, six bits each
  int have = have_;
  size_t i = 0;
  while (i < n) {
    if (have == 0) {
      while (i + 4 <= n) {
        const uint32_t a = kDecode.value[p[i]], b = kDecode.value[p[i + 1]];
        const uint32_t c = kDecode.value[p[i + 2]], d = kDecode.value[p[i + 3]];
        if ((a | b | c | d) & 0x80) break;
        const uint32_t v = (a << 18) | (b << 12) | (c << 6) | d;
        o[0] = static_cast<unsigned char>(v >> 16);
        o[1] = static_cast<unsigned char>(v >> 8);
        o[2] = static_cast<unsigned char>(v);
        o += 3;
        i += 4;
      }
      if (i >= n) break;
    }
    const uint8_t v = kDecode.value[p[i++]];
    if (v == kSkip) continue;
    if (v == kPad) {
      // "xx=" ends a group with one byte, "xxx=" with two; a pad elsewhere is skipped.
      o = EndGroup(group, have, o);
      continue;
    }
    group = (group << 6) | v;
    if (++have == 4) {
      o[0] = static_cast<unsigned char>(group >> 16);
      o[1] = static_cast<unsigned char>(group >> 8);
      o[2] = static_cast<unsigned char>(group);
      o += 3;
      have = 0;
      group = 0;
    }
  }
  group_ = group;
  have_ = have;
  out.resize(static_cast<size_t>(o - reinterpret_cast<unsigned char*>(out.data())));
}

void Base64Decoder::Finish(std::string& out) {
  unsigned char last[2];
  const unsigned char* end = EndGroup(group_, have_, last);
  out.append(reinterpret_cast<const char*>(last), static_cast<size_t>(end - last));
}

unsigned char* Base64Decoder::EndGroup(uint32_t& group, int& have, unsigned char* o) {
  if (have == 2) *o++ = static_cast<unsigned char>(group >> 4);
  if (have == 3) {
    *o++ = static_cast<unsigned char>(group >> 10);
    *o++ = static_cast<unsigned char>(group >> 2);
  }
  have = 0;
  group = 0;
  return o;
}

std::string Base64Decode(std::string_view text) {
  std::string out = MakeBuffer(3 * (text.size() / 4) + 6);  // the pages faulted in once, big ones
  out.clear();
  Base64Decoder decoder;
  decoder.Decode(text, out);
  decoder.Finish(out);
  return out;
}

std::string MimeHeaderEncode(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  ByteWriter out(n + n / 2 + 32);
  char* o = out.begin();
  size_t i = 0;
  while (i < n) {
    const size_t start = i;
    while (i < n && !(IsLeadByte(p[i]) && i + 1 < n && IsTrailByte(p[i + 1]))) ++i;
    o = out.Append(o, text.substr(start, i - start));
    if (i >= n) break;
    const size_t run = i;
    while (i + 1 < n && IsLeadByte(p[i]) && IsTrailByte(p[i + 1])) i += 2;
    o = out.Append(o, kMimePrefix);
    o = out.Append(o, Base64Encode(SjisToJis(text.substr(run, i - run))));
    o = out.Append(o, "?=");
  }
  return out.Finish(o);
}

std::string MimeHeaderDecode(std::string_view text) {
  ByteWriter out(text.size());
  char* o = out.begin();
  size_t i = 0;
  while (true) {
    const size_t at = FindMimePrefix(text, i);
    if (at == std::string_view::npos) {
      o = out.Append(o, text.substr(i));
      break;
    }
    o = out.Append(o, text.substr(i, at - i));
    const size_t body = at + kMimePrefixLength;
    // The end mark is looked for after the prefix, never in text already decoded.
    const size_t end = text.find("?=", body);
    if (end == std::string_view::npos) {
      i = body;
      continue;
    }
    o = out.Append(o, Base64Decode(text.substr(body, end - body)));
    o = out.Append(o, "\x1B(J");
    i = end + 2;
  }
  return out.Finish(o);
}

size_t MimeHeaderEncoder::Encode(std::string_view text, size_t limit, bool last, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (last) limit = n;
  size_t i = 0;
  while (i < limit) {
    const bool pair = IsLeadByte(p[i]) && i + 1 < n && IsTrailByte(p[i + 1]);
    if (in_run_ && pair) {
      const BytePair j = SjisPairToJis(p[i], p[i + 1]);
      jis_.push_back(static_cast<char>(j[0]));
      jis_.push_back(static_cast<char>(j[1]));
      i += 2;
      if (jis_.size() >= 3 * 4096) {  // whole groups go out; the rest waits for more
        const size_t whole = jis_.size() / 3 * 3;
        out.append(Base64Encode(std::string_view(jis_).substr(0, whole)));
        jis_.erase(0, whole);
      }
    } else if (in_run_) {
      EndRun(out);
    } else if (pair) {
      out.append(kMimePrefix);
      jis_.assign("\x1B$B");  // what SjisToJis writes before the run's first pair
      in_run_ = true;
    } else {
      const size_t start = i;
      while (i < limit && !(IsLeadByte(p[i]) && i + 1 < n && IsTrailByte(p[i + 1]))) ++i;
      out.append(text.substr(start, i - start));
    }
  }
  if (last && in_run_) EndRun(out);
  return i;
}

void MimeHeaderEncoder::EndRun(std::string& out) {
  out.append(Base64Encode(jis_));
  out.append("?=");
  jis_.clear();
  in_run_ = false;
}

size_t MimeHeaderDecoder::Decode(std::string_view text, bool last, std::string& out) {
  size_t i = 0;
  while (true) {
    const size_t at = FindMimePrefix(text, i);
    if (at == std::string_view::npos) {
      // A prefix may begin in the last bytes and end in the next piece.
      const size_t keep = last ? text.size() : text.size() - std::min(text.size(), kMimePrefixLength - 1);
      const size_t upto = std::max(i, keep);
      out.append(text.substr(i, upto - i));
      return upto;
    }
    out.append(text.substr(i, at - i));
    const size_t body = at + kMimePrefixLength;
    const size_t end = text.find("?=", body);
    if (end == std::string_view::npos) {
      if (!last) {
        if (text.size() - at > kMaxHeldBytes)
          throw PieceLimitError("an encoded word longer than " + std::string(kMaxHeldText));
        return at;  // wait for its end mark
      }
      i = body;
      continue;
    }
    out.append(Base64Decode(text.substr(body, end - body)));
    out.append("\x1B(J");
    i = end + 2;
  }
}

}  // namespace haruvi::encoding
