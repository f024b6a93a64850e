#include "textcmd/columns.h"

#include <algorithm>

#include "textcmd/sjis.h"

namespace haruvi::textcmd {
namespace {

// The byte range [begin, end) of `line` for columns start.. start+count-1, clamped to
// the line; `widen` moves a cut boundary outwards to whole characters, else inwards.
std::pair<std::size_t, std::size_t> ColumnRange(std::string_view line, std::size_t start,
                                                std::size_t count, bool widen) {
  std::size_t begin = std::min(std::max<std::size_t>(start, 1) - 1, line.size());
  std::size_t end = begin + std::min(count, line.size() - begin);
  if (begin == end) return {begin, end};
  if (ByteKindAt(line, begin) == ByteKind::kTrail) {
    if (widen) {
      --begin;
    } else {
      ++begin;
    }
  }
  if (begin < end && ByteKindAt(line, end - 1) == ByteKind::kLead) {
    if (widen) {
      ++end;
    } else {
      --end;
    }
  }
  return {begin, std::max(begin, end)};
}

}  // namespace

Lines BreakAtColumn(LineSpan lines, std::size_t column, std::string_view text) {
  const std::size_t b = std::max<std::size_t>(column, 1);
  Lines out;
  for (std::string_view rest : lines) {
    bool cut = false;
    while (rest.size() > b) {
      // The rest always starts on a character, so byte b's class needs only the piece.
      std::size_t c = b;
      if (ByteKindAt(rest.substr(0, b + 1), b - 1) == ByteKind::kLead) c = b - 1;
      if (c == 0) c = CharLength(rest, 0);  // column 1 before a two-byte character
      out.Append(rest.substr(0, c));
      out.Append(text);
      out.EndLine();
      rest.remove_prefix(c);
      cut = true;
    }
    // Only a whole character taken at column 1 can leave nothing behind: no empty line then.
    if (!rest.empty() || !cut) out.Add(rest);
  }
  return out;
}

Lines InsertAtColumn(LineSpan lines, std::size_t column, std::string_view text) {
  const std::size_t b = std::max<std::size_t>(column, 1);
  Lines out;
  for (std::string_view l : lines) {
    if (l.size() > b) {
      std::size_t at = b - 1;  // before byte b
      if (at > 0 && ByteKindAt(l, at - 1) == ByteKind::kLead) --at;
      out.Append(l.substr(0, at));
      out.Append(text);
      out.Append(l.substr(at));
      out.EndLine();
    } else {
      out.Add(l);
    }
  }
  return out;
}

Lines DeleteColumns(LineSpan lines, std::size_t start, std::size_t count) {
  Lines out;
  for (std::string_view l : lines) {
    auto [begin, end] = ColumnRange(l, start, count, true);
    out.Append(l.substr(0, begin));
    out.Append(l.substr(end));
    out.EndLine();
  }
  return out;
}

Lines ExtractColumns(LineSpan lines, std::size_t start, std::size_t count) {
  Lines out;
  for (std::string_view l : lines) {
    auto [begin, end] = ColumnRange(l, start, count, false);
    out.Add(l.substr(begin, end - begin));
  }
  return out;
}

}  // namespace haruvi::textcmd
