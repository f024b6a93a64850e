#include "textcmd/sort_lines.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <cstdlib>
#include <new>
#include <span>
#include <exception>
#include <stdexcept>
#include <thread>
#include <utility>

#include "textcmd/sjis.h"

namespace haruvi::textcmd {
namespace {

// Shift_JIS (code page 932) to UTF-16 for every one- and two-byte code, built
// once from ICU's converter: decoding a line is then one table look-up per character.
class DecodeTable {
 public:
  DecodeTable() : single_{}, pair_(std::make_unique<std::array<char16_t, 65536>>()) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = nullptr;
    for (const char* name : {"ibm-943_P15A-2003", "windows-31j", "Shift_JIS"}) {
      status = U_ZERO_ERROR;
      conv = ucnv_open(name, &status);
      if (U_SUCCESS(status)) break;
      conv = nullptr;
    }
    single_.fill(0xFFFD);
    pair_->fill(0xFFFD);
    if (!conv) return;  // everything collates as unknown; ties still go by bytes
    for (unsigned b = 0; b < 256; ++b) {
      char one = static_cast<char>(b);
      single_[b] = Convert(conv, &one, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        (*pair_)[lead << 8 | trail] = Convert(conv, bytes, 2);
      }
    }
    ucnv_close(conv);
  }

  // Appends the UTF-16 of `line`, folded to lower case, to `out`.
  void Decode(std::string_view line, std::u16string& out) const {
    out.clear();
    for (std::size_t i = 0; i < line.size();) {
      auto b = static_cast<unsigned char>(line[i]);
      char16_t c;
      if (b < 0x80) {
        c = (b >= 'A' && b <= 'Z') ? static_cast<char16_t>(b + 32) : b;
        ++i;
      } else {
        if (CharLength(line, i) == 2) {
          c = (*pair_)[b << 8 | static_cast<unsigned char>(line[i + 1])];
          i += 2;
        } else {
          c = single_[b];
          ++i;
        }
        c = static_cast<char16_t>(u_tolower(c));
      }
      out.push_back(c);
    }
  }

 private:
  static char16_t Convert(UConverter* conv, const char* bytes, int n) {
    UErrorCode status = U_ZERO_ERROR;
    UChar out[4];
    ucnv_reset(conv);
    int32_t len = ucnv_toUChars(conv, out, 4, bytes, n, &status);
    if (U_FAILURE(status) || len != 1 || out[0] == 0x1A) return 0xFFFD;
    return out[0];
  }

  std::array<char16_t, 256> single_;
  std::unique_ptr<std::array<char16_t, 65536>> pair_;
};

const DecodeTable& Table() {
  static const DecodeTable table;
  return table;
}

struct Collator {
  Collator() {
    UErrorCode status = U_ZERO_ERROR;
    coll = ucol_open("ja", &status);
    if (U_FAILURE(status)) throw std::runtime_error("no Japanese collation");
  }
  ~Collator() { ucol_close(coll); }
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;
  UCollator* coll = nullptr;
};

// One line to sort: the first eight key bytes inline decide most comparisons without
// touching the key arena.
struct Entry {
  std::uint64_t prefix;
  std::size_t key;   // offset of the zero-terminated key in the arena
  std::size_t line;  // index into the input
};

std::uint64_t Prefix(const std::uint8_t* key) {
  std::uint64_t p = 0;
  for (int i = 0; i < 8; ++i) {
    p = p << 8 | key[i];
    // Keys end with a zero byte: nothing after it belongs to this key.
    if (key[i] == 0) return p << 8 * (7 - i);
  }
  return p;
}

class KeyArena {
 public:
  explicit KeyArena(std::size_t size) { Grow(size); }
  ~KeyArena() { std::free(data_); }
  KeyArena(const KeyArena&) = delete;
  KeyArena& operator=(const KeyArena&) = delete;
  void Grow(std::size_t size) {
    void* p = std::realloc(data_, size);
    if (!p) throw std::bad_alloc();
    data_ = static_cast<std::uint8_t*>(p);
    size_ = size;
  }
  void Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
  }
  std::uint8_t* data() { return data_; }
  std::size_t size() const { return size_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace

namespace {

// The keys of lines [from, to) in one arena; each worker has its own collator (a collator
// may not be shared between threads) and its own arena.
struct KeyPart {
  explicit KeyPart(std::size_t bytes) : arena(bytes) {}
  KeyArena arena;
  std::size_t used = 0;
  std::exception_ptr error;
};

void MakeKeys(std::span<const std::string_view> lines, std::size_t from, std::size_t to,
              std::vector<Entry>& entries, KeyPart& part) {
  try {
    const DecodeTable& table = Table();
    Collator collator;
    std::u16string text;
    for (std::size_t i = from; i < to; ++i) {
      table.Decode(lines[i], text);
      const auto len = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
      for (;;) {
        std::size_t room = std::min<std::size_t>(part.arena.size() - part.used, INT32_MAX);
        int32_t need = ucol_getSortKey(collator.coll, reinterpret_cast<const UChar*>(text.data()), len,
                                       part.arena.data() + part.used, static_cast<int32_t>(room));
        if (need > 0 && static_cast<std::size_t>(need) <= room) {
          entries[i] = {0, part.used, i};
          part.used += static_cast<std::size_t>(need);
          break;
        }
        part.arena.Grow(std::max(part.arena.size() * 3 / 2, part.used + static_cast<std::size_t>(need) + 4096));
      }
    }
    // Eight readable bytes past every key for the inline prefix.
    if (part.arena.size() < part.used + 8) part.arena.Grow(part.used + 8);
    std::memset(part.arena.data() + part.used, 0, 8);
    for (std::size_t i = from; i < to; ++i) entries[i].prefix = Prefix(part.arena.data() + entries[i].key);
  } catch (...) {
    part.error = std::current_exception();
  }
}

}  // namespace

SortedLines SortLinesGrouped(LineSpan all, SortOrder order) {
  // Empty lines are all alike and come before every other line (an empty key is the least
  // one, and so are its bytes): they are counted, not sorted, so a text of line feeds costs
  // nothing a line.
  SortedLines sorted;
  std::size_t empty = 0;
  for (std::string_view l : all) empty += l.empty() ? 1 : 0;
  (order == SortOrder::kAscending ? sorted.empty_first : sorted.empty_last) = empty;
  std::vector<std::string_view> lines;
  lines.reserve(all.size() - empty);
  for (std::string_view l : all)
    if (!l.empty()) lines.push_back(l);
  if (lines.size() < 2) {
    sorted.rest = std::move(lines);
    return sorted;
  }
  (void)Table();  // built once, before the workers read it

  // The keys cost most of the time and are independent: a large text's are made by two
  // workers, each on half of the lines.
  const std::size_t n = lines.size();
  const std::size_t half = n >= 20000 && std::thread::hardware_concurrency() > 1 ? n / 2 : n;
  std::size_t bytes_first = 0, bytes_second = 0;
  for (std::size_t i = 0; i < n; ++i) (i < half ? bytes_first : bytes_second) += lines[i].size();
  // Keys take about as many bytes as the text. The arena is grown with realloc, which
  // neither zero-fills nor (for big blocks) copies, so untouched room costs no memory.
  KeyPart first(bytes_first + bytes_first / 4 + 4096), second(bytes_second + bytes_second / 4 + 4096);
  std::vector<Entry> entries(n);
  if (half < n) {
    std::thread worker([&] { MakeKeys(lines, half, n, entries, second); });
    MakeKeys(lines, 0, half, entries, first);
    worker.join();
  } else {
    MakeKeys(lines, 0, n, entries, first);
  }
  for (const KeyPart* part : {&first, &second})
    if (part->error) std::rethrow_exception(part->error);

  const std::uint8_t* keys_first = first.arena.data();
  const std::uint8_t* keys_second = second.arena.data();
  const auto key_of = [&](const Entry& e) {
    return reinterpret_cast<const char*>((e.line < half ? keys_first : keys_second) + e.key);
  };
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    int c = std::strcmp(key_of(a), key_of(b));
    if (c != 0) return c < 0;
    c = lines[a.line].compare(lines[b.line]);
    if (c != 0) return c < 0;
    return a.line < b.line;
  });
  // The keys go before the result is made: the two never take memory together. The
  // result takes the place of the list it is made from.
  first.arena.Release();
  second.arena.Release();
  sorted.rest.reserve(n);
  for (const Entry& e : entries) sorted.rest.push_back(lines[e.line]);
  if (order == SortOrder::kDescending) std::reverse(sorted.rest.begin(), sorted.rest.end());
  return sorted;
}

std::vector<std::string_view> SortLines(LineSpan lines, SortOrder order) {
  SortedLines sorted = SortLinesGrouped(lines, order);
  std::vector<std::string_view> out;
  out.reserve(sorted.size());
  sorted.ForEach([&](std::string_view l) {
    out.push_back(l);
    return true;
  });
  return out;
}

}  // namespace haruvi::textcmd
