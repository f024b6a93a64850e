// The pane's byte search and literal replace-everything; see text_find.h. Candidates are
// found with memmem/memchr (memrchr going up), so a hit 50 MB away costs one vectorised
// scan, and each candidate is checked for a character start by a backward resync.
#include "search/text_find.h"

#include <cstring>

#include "encoding/sjis_char.h"

namespace haruvi::search {
namespace {

using encoding::IsLeadByte;

unsigned char U(char c) { return static_cast<unsigned char>(c); }
bool IsLower(unsigned char b) { return b >= 'a' && b <= 'z'; }
bool IsUpper(unsigned char b) { return b >= 'A' && b <= 'Z'; }
unsigned char Upper(unsigned char b) { return IsLower(b) ? static_cast<unsigned char>(b - 32) : b; }

// `at` (find.size() bytes, starting on a character) equals `find`, single-byte letters
// without regard to case; the bytes of a two-byte character compare exactly.
bool EqualFolded(const char* at, std::string_view find) {
  for (std::size_t i = 0; i < find.size();) {
    if (IsLeadByte(U(find[i])) && i + 1 < find.size()) {
      if (at[i] != find[i] || at[i + 1] != find[i + 1]) return false;
      i += 2;
    } else {
      if (Upper(U(at[i])) != Upper(U(find[i]))) return false;
      ++i;
    }
  }
  return true;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The next (or previous) position holding the find text's first byte, in either case
// when case is ignored and it is a letter; each case's position is kept until passed.
class FirstByte {
 public:
  FirstByte(std::string_view text, unsigned char b, bool fold) : text_(text) {
    a_ = b;
    b_ = b;
    if (fold && IsLower(b)) b_ = static_cast<unsigned char>(b - 32);
    if (fold && IsUpper(b)) b_ = static_cast<unsigned char>(b + 32);
  }
  // First position >= from.
  std::size_t Next(std::size_t from) {
    if (na_ == kNone || na_ < from) na_ = Fwd(a_, from);
    if (a_ == b_) return na_;
    if (nb_ == kNone || nb_ < from) nb_ = Fwd(b_, from);
    return std::min(na_, nb_);
  }
  // Last position <= upto.
  std::size_t Prev(std::size_t upto) {
    if (pa_ == kNone || (pa_ != kEmpty && pa_ > upto)) pa_ = Back(a_, upto);
    std::size_t r = pa_;
    if (a_ != b_) {
      if (pb_ == kNone || (pb_ != kEmpty && pb_ > upto)) pb_ = Back(b_, upto);
      if (r == kEmpty || (pb_ != kEmpty && pb_ > r)) r = pb_;
    }
    return r;
  }
  static constexpr std::size_t kEmpty = kNone - 1;  // "none before"

 private:
  std::size_t Fwd(unsigned char b, std::size_t from) const {
    if (from >= text_.size()) return text_.size();
    const void* p = std::memchr(text_.data() + from, b, text_.size() - from);
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - text_.data()) : text_.size();
  }
  std::size_t Back(unsigned char b, std::size_t upto) const {
    const void* p = ::memrchr(text_.data(), b, upto + 1);
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - text_.data()) : kEmpty;
  }
  std::string_view text_;
  unsigned char a_, b_;
  std::size_t na_ = kNone, nb_ = kNone, pa_ = kNone, pb_ = kNone;
};

struct Matcher {
  std::string_view text, find;
  const FindOptions& o;
  CharStarts starts{text, o.utf8, o.codec};
  bool Delimiter(unsigned char b) const { return o.utf8 && b >= 0x80 ? false : IsWordDelimiter(b); }

  bool Accept(std::size_t c, bool bytes_equal) {
    if (!starts.IsStart(c)) return false;
    if (!bytes_equal && !(o.match_case ? std::memcmp(text.data() + c, find.data(), find.size()) == 0
                                       : EqualFolded(text.data() + c, find)))
      return false;
    if (o.whole_word) {
      if (c > 0 && !Delimiter(U(text[c - 1]))) return false;
      const std::size_t e = c + find.size();
      if (e < text.size() && !Delimiter(U(text[e]))) return false;
    }
    return true;
  }

  std::optional<std::size_t> Down(std::size_t from) {
    const std::size_t n = text.size(), m = find.size();
    if (m == 0 || from > n || n - from < m) return std::nullopt;
    const std::size_t last = n - m;  // the last candidate
    if (o.match_case) {
      for (std::size_t p = from; p <= last;) {
        const void* hit = ::memmem(text.data() + p, n - p, find.data(), m);
        if (!hit) return std::nullopt;
        const std::size_t c = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (Accept(c, true)) return c;
        p = c + 1;
      }
      return std::nullopt;
    }
    FirstByte first(text, U(find[0]), true);
    for (std::size_t p = from; p <= last;) {
      const std::size_t c = first.Next(p);
      if (c > last) return std::nullopt;
      if (Accept(c, false)) return c;
      p = c + 1;
    }
    return std::nullopt;
  }

  std::optional<std::size_t> Up(std::size_t before) {
    const std::size_t n = text.size(), m = find.size();
    if (m == 0 || before == 0 || n < m) return std::nullopt;
    std::size_t upto = std::min(before - 1, n - m);
    FirstByte first(text, U(find[0]), !o.match_case);
    for (;;) {
      const std::size_t c = first.Prev(upto);
      if (c == FirstByte::kEmpty) return std::nullopt;
      if (Accept(c, false)) return c;
      if (c == 0) return std::nullopt;
      upto = c - 1;
    }
  }
};

}  // namespace

bool IsWordDelimiter(unsigned char b) {
  return b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) || (b >= 0x7B && b <= 0x80) ||
         (b >= 0xA0 && b <= 0xDF) || b >= 0xFD;
}

bool CharStarts::IsStart(std::size_t pos) {
  if (pos == 0 || pos > text_.size()) return pos == 0;
  if (utf8_) return pos == text_.size() || (U(text_[pos]) & 0xC0) != 0x80;
  if (codec_) return pos == text_.size() || codec_->CharStart(text_, pos) == pos;
  if (!IsLeadByte(U(text_[pos - 1]))) return true;  // after a single byte or a trail byte
  if (pos > run_begin_ && pos <= run_end_) return (pos - run_begin_) % 2 == 0;
  // Back over the bytes that could be lead bytes; the byte before them ends a character.
  std::size_t b = pos - 1;
  const std::size_t stop = (pos > run_end_ && run_end_ > run_begin_) ? run_end_ : 0;
  while (b > stop && IsLeadByte(U(text_[b - 1]))) --b;
  if (b == stop && stop != 0) {
    run_end_ = pos;  // the run already known goes on up to here
  } else {
    run_begin_ = b;
    run_end_ = pos;
  }
  return (pos - run_begin_) % 2 == 0;
}

std::optional<std::size_t> FindInText(std::string_view find, std::string_view text, const FindOptions& options,
                                      std::size_t sel_start, std::size_t sel_length) {
  Matcher m{text, find, options};
  if (options.down) return m.Down(sel_start + sel_length);
  return m.Up(std::min(sel_start, text.size()));
}

ReplaceResult ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                         const FindOptions& options, std::size_t from) {
  ReplaceResult r;
  from = std::min(from, text.size());
  r.caret = from;
  FindOptions down = options;
  down.down = true;
  Matcher m{text, find, down};
  std::size_t pos = from;
  r.text.reserve(text.size());
  r.text.append(text.substr(0, from));
  while (auto hit = m.Down(pos)) {
    r.text.append(text.substr(pos, *hit - pos)).append(replacement);
    r.caret = r.text.size();
    ++r.count;
    pos = *hit + find.size();
  }
  r.text.append(text.substr(pos));
  return r;
}

}  // namespace haruvi::search
