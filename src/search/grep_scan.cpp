// The fast scanners of TGrep over the raw window of TTxtFile: the literal scanner
// (a probe-byte filter on the literal's bytes, then a check that the hit starts on a
// character), the
// line-automaton scanner (one table look-up per byte), the same run only on the lines that
// hold a character every match needs, and the every-line scanner. Line
// numbers are counted only up to lines that are reported, and before a block is dropped.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "encoding/sjis_char.h"
#include "encoding/utf8_standins.h"
#include "search/byte_scan.h"
#include "search/grep.h"
#include "search/literal_scan.h"

namespace haruvi::search {

namespace {

using encoding::IsLeadByte;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Position after the last line end in [floor, pos), or floor when there is none: the last
// line feed, then a carriage return after it.
std::size_t LineStartBefore(const char* d, std::size_t floor, std::size_t pos) {
  if (pos <= floor) return floor;
  const void* lf = ::memrchr(d + floor, '\n', pos - floor);
  const std::size_t from = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - d) + 1 : floor;
  const void* cr = from < pos ? ::memrchr(d + from, '\r', pos - from) : nullptr;
  return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - d) + 1 : from;
}

// First line end in [from, n), or n.
std::size_t LineEndFrom(const char* d, std::size_t from, std::size_t n) {
  const char* lf = static_cast<const char*>(std::memchr(d + from, '\n', n - from));
  std::size_t end = lf ? static_cast<std::size_t>(lf - d) : n;
  const char* cr = static_cast<const char*>(std::memchr(d + from, '\r', end - from));
  return cr ? static_cast<std::size_t>(cr - d) : end;
}

// The start of the line holding a position, scanning each byte once however long the
// line (positions asked for never go backwards).
struct LineStartTracker {
  std::size_t known = 0;    // start of the line that holds `checked`
  std::size_t checked = 0;  // no line end in [known, checked)
  std::size_t At(const char* d, std::size_t pos) {
    if (pos < checked) return LineStartBefore(d, 0, pos);
    std::size_t s = LineStartBefore(d, checked, pos);
    if (s != checked) known = s;
    checked = pos;
    return known;
  }
  void Reset(std::size_t pos) { known = checked = pos; }
  void Shift(std::size_t by) {
    known -= by;
    checked -= by;
  }
};

// Line numbers: line ends are counted lazily up to `counted`.
struct LineCounter {
  std::size_t counted = 0;
  bool cr_before = false;
  std::int64_t line_no = 0;
  std::int64_t Upto(const char* d, std::size_t pos) {
    line_no += static_cast<std::int64_t>(CountLineEnds(d + counted, d + pos, cr_before));
    counted = pos;
    return line_no;
  }
};

// Reads the next block keeping the bytes from `keep`; returns the shift of positions.
std::size_t Refill(TTxtFile& f, LineCounter& lc, std::size_t keep) {
  lc.Upto(f.Data(), keep);
  std::size_t shift = f.ReadBlock(keep);
  lc.counted -= shift;
  return shift;
}

// Finds the end of the line that starts at `ls` and holds `p`, reading more blocks as
// needed; both positions move with the window.
std::size_t FindLineEnd(TTxtFile& f, LineCounter& lc, std::size_t& ls, std::size_t& p) {
  std::size_t from = p;
  for (;;) {
    std::size_t le = LineEndFrom(f.Data(), from, f.Size());
    if (le < f.Size()) return le;
    from = f.Size();
    std::size_t shift = Refill(f, lc, ls);  // the file always ends with a line feed
    ls -= shift;
    p -= shift;
    from -= shift;
  }
}

// Delivers the line [ls, le) to the sink, after the stop request has had its chance.
void Report(TGrep& grep, TTxtFile& f, LineCounter& lc, std::size_t ls, std::size_t le) {
  f.CheckCancel();
  RE_LineInfo_t info;
  info.Line.assign(f.Data() + ls, le - ls);
  info.LineNo = lc.Upto(f.Data(), ls);
  grep.OnMatch(grep, info);
}

// Whether the line [ls, le) holds a match, its line end at le read too; the automaton
// starts as after the line end before the line (matches never cross lines, so the state
// there is the same whatever came before).
bool LineMatches(const LineAutomaton& la, const unsigned char* d, std::size_t ls, std::size_t le) {
  const std::uint32_t* tab = la.Table();
  const std::uint32_t signal = la.FirstSignal();
  std::uint32_t s = tab[static_cast<std::size_t>(la.Idle()) << 8 | '\n'];
  std::uint32_t prev = s;
  std::size_t p = ls;
  while (p <= le) {
    prev = s;
    s = tab[static_cast<std::size_t>(s) << 8 | d[p]];
    if (s < signal) {
      ++p;
      continue;
    }
    if (s == la.LeadBeforeLineEnd()) {
      s = la.LoneLead(prev);
      if (s < signal) continue;  // read the line end from there
    }
    return true;
  }
  return false;
}

// The required character to look for: of several, the one least often in a large file's
// first bytes, else the first of two bytes (a single byte is more often a trail byte).
std::size_t PickRequired(const std::vector<std::string>& required, const char* d, std::size_t n) {
  constexpr std::size_t kSample = 64 * 1024;
  std::size_t pick = 0;
  if (n >= 4 * kSample) {
    const std::string_view sample(d, kSample);
    std::size_t fewest = SIZE_MAX;
    for (std::size_t i = 0; i < required.size(); ++i) {
      std::size_t count = 0;
      for (std::size_t at = sample.find(required[i]); at != std::string_view::npos; at = sample.find(required[i], at + 1))
        ++count;
      if (count < fewest) {
        fewest = count;
        pick = i;
      }
    }
    return pick;
  }
  for (std::size_t i = 0; i < required.size(); ++i)
    if (required[i].size() > required[pick].size()) pick = i;
  return pick;
}

}  // namespace

void TGrep::ScanCandidateLines(TTxtFile& f, const LineAutomaton& la, const std::vector<std::string>& required,
                               bool utf8) {
  LineCounter lc;
  LineStartTracker lines;
  lines.Reset(1);
  const std::size_t pick = PickRequired(required, f.Data(), f.Size());
  const std::string& needle = required[pick];
  LiteralFinder finder(needle);
  // The other required characters must be in the line too: a cheaper test than the automaton.
  std::vector<LiteralFinder> also;
  for (std::size_t i = 0; i < required.size() && also.size() < 4; ++i)
    if (i != pick) also.emplace_back(required[i]);
  constexpr std::size_t kSample = 64 * 1024;
  if (f.Size() >= 4 * kSample) finder.Tune(f.Data(), f.Data() + kSample);
  const std::size_t m = needle.size();
  std::size_t p = 1;  // next candidate
  for (;;) {
    const char* d = f.Data();
    const std::size_t n = f.Size();
    const char* found = p + m <= n ? finder.Find(d + p, d + n) : d + n;
    if (found == d + n) {
      if (f.AtEof()) return;
      // Keep the line being read and enough bytes for the character across the block edge.
      std::size_t keep = lines.At(d, n);
      std::size_t next = n >= m ? n - m + 1 : 0;
      p = std::max(std::max(p, next), keep);
      std::size_t shift = Refill(f, lc, keep);
      p -= shift;
      lines.Shift(shift);
      continue;
    }
    const auto h = static_cast<std::size_t>(found - d);
    std::size_t ls = lines.At(d, h);
    std::size_t from = h + m;  // the character's bytes hold no line end
    std::size_t le = FindLineEnd(f, lc, ls, from);
    const char* line = f.Data();
    const bool all = std::all_of(also.begin(), also.end(),
                                 [&](const LiteralFinder& a) { return a.Find(line + ls, line + le) != line + le; });
    if (all && (utf8 ? Utf8LineMatches(la, std::string_view(line + ls, le - ls))
                     : LineMatches(la, reinterpret_cast<const unsigned char*>(line), ls, le)))
      Report(*this, f, lc, ls, le);
    p = le + 1;
    lines.Reset(le);
  }
}

void TGrep::ScanLines(TTxtFile& f, const LineAutomaton& la) {
  LineCounter lc;
  const std::uint32_t* tab = la.Table();
  const std::uint32_t signal = la.FirstSignal();
  LineStartTracker lines;
  const bool skip = la.CanSkip();
  std::uint32_t s = la.Idle(), prev = s;
  std::size_t p = 0;
  for (;;) {
    const auto* d = reinterpret_cast<const unsigned char*>(f.Data());
    const std::size_t n = f.Size();
    if (skip && s == la.Idle()) p = la.SkipIdle(f.Data(), p, n);
    while (p < n) {
      prev = s;
      s = tab[static_cast<std::size_t>(s) << 8 | d[p]];
      if (s >= signal) break;
      ++p;
      if (skip && s == la.Idle()) p = la.SkipIdle(f.Data(), p, n);
    }
    if (p >= n) {
      if (f.AtEof()) return;
      std::size_t shift = Refill(f, lc, lines.At(f.Data(), n));
      p -= shift;
      lines.Shift(shift);
      continue;
    }
    std::size_t le = p;
    if (s == la.LeadBeforeLineEnd()) {
      // The lead byte before the line end is a character of its own.
      s = la.LoneLead(prev);
      if (s < signal) continue;  // read the line end from there
    }
    std::size_t ls = lines.At(f.Data(), p);
    if (!IsLineEnd(f.Data()[p])) {
      std::size_t from = p + 1;
      le = FindLineEnd(f, lc, ls, from);
    }
    Report(*this, f, lc, ls, le);
    p = le;
    lines.Reset(le);
    s = la.Idle();
  }
}

bool TGrep::Utf8LineMatches(const LineAutomaton& la, std::string_view line) {
  // The line alone in Shift_JIS, its line end after it, read as the line's own.
  line_sjis_.clear();
  encoding::ToSjisAlike(line, line_sjis_);
  line_sjis_.push_back('\n');
  return LineMatches(la, reinterpret_cast<const unsigned char*>(line_sjis_.data()), 0, line_sjis_.size() - 1);
}

void TGrep::ScanAllLines(TTxtFile& f, const LineAutomaton* utf8) {
  LineCounter lc;
  std::size_t ls = 1;  // after the sentinel line feed
  for (;;) {
    if (ls >= f.Size()) {
      if (f.AtEof()) return;
      ls -= Refill(f, lc, ls);
      continue;
    }
    std::size_t p = ls;
    std::size_t le = FindLineEnd(f, lc, ls, p);
    if (!utf8 || Utf8LineMatches(*utf8, std::string_view(f.Data() + ls, le - ls))) Report(*this, f, lc, ls, le);
    if (f.Data()[le] == '\r' && le + 1 >= f.Size() && !f.AtEof()) le -= Refill(f, lc, le);
    ls = le + ((f.Data()[le] == '\r' && le + 1 < f.Size() && f.Data()[le + 1] == '\n') ? 2 : 1);
  }
}

void TGrep::ScanLiteral(TTxtFile& f) {
  LineCounter lc;
  LineStartTracker lines;
  lines.Reset(1);
  const std::string& lit = utf8_file_ ? literal_utf8_ : literal_;
  LiteralFinder finder(lit);
  // A large file's probes are its rarest bytes of the literal; a small one is over sooner
  // than a sample would be read.
  constexpr std::size_t kSample = 64 * 1024;
  if (f.Size() >= 4 * kSample) finder.Tune(f.Data(), f.Data() + kSample);
  std::size_t p = 1;     // next candidate
  std::size_t sync = 1;  // a known character start
  for (;;) {
    const char* d = f.Data();
    const std::size_t n = f.Size();
    const char* found = p + lit.size() <= n ? finder.Find(d + p, d + n) : d + n;
    const void* hit = found == d + n ? nullptr : found;
    if (!hit) {
      if (f.AtEof()) return;
      // Keep the line being read and enough bytes for a literal across the block edge.
      std::size_t keep = lines.At(d, n);
      std::size_t next = n >= lit.size() ? n - lit.size() + 1 : 0;
      p = std::max(std::max(p, next), keep);
      sync = std::max(sync, keep);  // a line start is a character start
      std::size_t shift = Refill(f, lc, keep);
      p -= shift;
      sync -= shift;
      lines.Shift(shift);
      continue;
    }
    const auto h = static_cast<std::size_t>(static_cast<const char*>(hit) - d);
    std::size_t ls = lines.At(d, h);
    if (utf8_file_) {
      // UTF-8 finds its character starts by itself: no continuation byte starts one.
      if ((static_cast<unsigned char>(d[h]) & 0xC0) == 0x80) {
        p = h + 1;
        continue;
      }
    } else {
      // Walk characters from a known start; within a line a lead byte always has its trail.
      std::size_t walk = std::max(sync, ls);
      while (walk < h) walk += IsLeadByte(static_cast<unsigned char>(d[walk])) ? 2 : 1;
      if (walk != h) {
        sync = walk;
        p = h + 1;
        continue;
      }
    }
    std::size_t from = h + lit.size();
    std::size_t le = FindLineEnd(f, lc, ls, from);
    Report(*this, f, lc, ls, le);
    p = sync = le + 1;  // a line end is always a character of its own
    lines.Reset(le);
  }
}

}  // namespace haruvi::search
