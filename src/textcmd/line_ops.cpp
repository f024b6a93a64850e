#include "textcmd/line_ops.h"

#include <algorithm>
#include <string>

#include "textcmd/sjis.h"

namespace haruvi::textcmd {
namespace {

// Runs `f(line, out)` for every line; `f` appends the new line's bytes.
template <class F>
Lines MapLines(LineSpan lines, std::size_t extra_per_line, F f) {
  std::size_t bytes = 0;
  for (auto l : lines) bytes += l.size() + extra_per_line;
  Lines out;
  out.Reserve(lines.size(), bytes);
  for (auto l : lines) {
    f(l, out);
    out.EndLine();
  }
  return out;
}

// The lines `keep(index, line, previous)` keeps; `previous` is the line before, kept or not
// (nullptr for the first).
template <class Keep>
KeptLines FilterLines(LineSpan lines, Keep keep) {
  std::vector<bool> kept(lines.size());
  std::size_t i = 0;
  std::string_view previous;
  for (std::string_view l : lines) {
    kept[i] = keep(i, l, i == 0 ? nullptr : &previous);
    previous = l;
    ++i;
  }
  return KeptLines(lines, kept);
}

// Appends `line` with every full-width space replaced by `with`; other characters, and
// bytes that merely look like 0x81 0x40 across a character boundary, are copied.
void ReplaceFullWidthSpaces(std::string_view line, std::string_view with, std::string& out) {
  std::size_t i = 0, copied = 0;
  while (i < line.size()) {
    std::size_t n = CharLength(line, i);
    if (n == 2 && line.compare(i, 2, kFullWidthSpace) == 0) {
      out.append(line, copied, i - copied);
      out.append(with);
      copied = i + 2;
    }
    i += n;
  }
  out.append(line, copied, line.size() - copied);
}

void ReplaceByte(std::string_view line, char byte, std::string_view with, Lines& out) {
  std::size_t from = 0;
  for (;;) {
    std::size_t at = line.find(byte, from);
    if (at == std::string_view::npos) break;
    out.Append(line.substr(from, at - from));
    out.Append(with);
    from = at + 1;
  }
  out.Append(line.substr(from));
}

// Start of the trailing run of blank characters: bytes of 0x20 or less and full-width
// spaces. Trailing trims never look further back than this.
std::size_t BlankRunStart(std::string_view l) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < l.size();) {
    const std::size_t n = CharLength(l, i);
    const bool blank = n == 1 ? static_cast<unsigned char>(l[i]) <= 0x20
                              : l.compare(i, 2, kFullWidthSpace) == 0;
    i += n;
    if (!blank) run = i;
  }
  return run;
}

std::string PadLeft(std::string s, std::size_t width, char pad) {
  if (s.size() < width) s.insert(0, width - s.size(), pad);
  return s;
}

}  // namespace

Lines linenumber(LineSpan lines, int layout) {
  if (layout < 1 || layout > 4) return MapLines(lines, 0, [](auto l, Lines& o) { o.Append(l); });
  const std::size_t width = std::to_string(lines.size()).size();
  std::size_t number = 0;
  return MapLines(lines, width + 1, [&](std::string_view l, Lines& o) {
    std::string n = PadLeft(std::to_string(++number), width, ' ');
    const char sep = (layout == 2 || layout == 4) ? ',' : ' ';
    if (layout <= 2) {
      o.Append(n);
      o.Append(sep);
      o.Append(l);
    } else {
      o.Append(l);
      o.Append(sep);
      o.Append(n);
    }
  });
}

Lines AddSerialNumbers(LineSpan lines, std::string_view format, std::int64_t first,
                       std::size_t first_line, std::size_t last_line) {
  std::size_t zeros = 0;
  while (zeros < format.size() && format[format.size() - 1 - zeros] == '0') ++zeros;
  const std::string_view prefix = format.substr(0, format.size() - zeros);
  std::size_t index = 0;
  std::int64_t number = first;
  return MapLines(lines, prefix.size() + zeros + 2, [&](std::string_view l, Lines& o) {
    if (index >= first_line && index <= last_line) {
      o.Append(prefix);
      // The sign goes before the zeros: -5 with two zeros is "-05".
      if (number < 0) o.Append('-');
      std::uint64_t magnitude = number < 0 ? 0 - static_cast<std::uint64_t>(number)
                                           : static_cast<std::uint64_t>(number);
      o.Append(PadLeft(std::to_string(magnitude), zeros, '0'));
      o.Append(' ');
      // Past the 64-bit range the count stays at the largest value instead of wrapping.
      if (number < INT64_MAX) ++number;
    }
    o.Append(l);
    ++index;
  });
}

std::string strreverse(std::string_view s) {
  std::string out(s.size(), '\0');
  std::size_t i = 0, w = s.size();
  while (i < s.size()) {
    std::size_t n = CharLength(s, i);
    if (n == 1 && s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') n = 2;
    w -= n;
    out.replace(w, n, s.substr(i, n));
    i += n;
  }
  return out;
}

Lines ReverseLines(LineSpan lines) {
  return MapLines(lines, 0, [](std::string_view l, Lines& o) { o.Append(strreverse(l)); });
}

Lines DuplicateLine(LineSpan lines, std::size_t index) {
  Lines out;
  std::size_t i = 0;
  for (std::string_view l : lines) {
    out.Add(l);
    if (i++ == index) out.Add(l);
  }
  return out;
}

KeptLines DeleteLine(LineSpan lines, std::size_t index) {
  return FilterLines(lines, [&](std::size_t i, std::string_view, const std::string_view*) { return i != index; });
}

Lines TrimLeadingSpaces(LineSpan lines) {
  return MapLines(lines, 0, [](std::string_view l, Lines& o) {
    while (!l.empty() && l.front() == ' ') l.remove_prefix(1);
    while (l.substr(0, 2) == kFullWidthSpace) l.remove_prefix(2);
    o.Append(l);
  });
}

Lines TrimTrailingSpaces(LineSpan lines) {
  return MapLines(lines, 0, [](std::string_view l, Lines& o) {
    std::size_t len = l.size();
    std::size_t run = BlankRunStart(l);
    // Inside the blank run only a full-width space ends in 0x40, so the last character
    // is known without walking the line again.
    while (len > run) {
      const bool full = l[len - 1] == 0x40;
      if (!full && l[len - 1] != ' ') break;
      if (full) len -= 2;
      while (len > 0 && static_cast<unsigned char>(l[len - 1]) <= 0x20) --len;
      // Bytes of 0x20 or less go one by one, even the second byte of a broken character.
      if (len < run) run = BlankRunStart(l.substr(0, len));
    }
    o.Append(l.substr(0, len));
  });
}

std::string DeleteAllSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(out), [](char c) { return c != ' '; });
  return out;
}

std::string DeleteAllFullWidthSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ReplaceFullWidthSpaces(text, "", out);
  return out;
}

Lines DeleteAllTabs(LineSpan lines) { return tabreplace(lines, ""); }

Lines DeleteLeadingTabs(LineSpan lines) {
  return MapLines(lines, 0, [](std::string_view l, Lines& o) {
    o.Append(l.substr(std::min(l.find_first_not_of('\t'), l.size())));
  });
}

Lines tabreplace(LineSpan lines, std::string_view with) {
  return MapLines(lines, 0, [&](std::string_view l, Lines& o) { ReplaceByte(l, '\t', with, o); });
}

Lines FullWidthSpacesToSpaces(LineSpan lines) {
  std::string buf;
  return MapLines(lines, 0, [&](std::string_view l, Lines& o) {
    buf.clear();
    ReplaceFullWidthSpaces(l, "  ", buf);
    o.Append(buf);
  });
}

KeptLines DeleteEmptyLines(LineSpan lines) {
  return FilterLines(lines, [](std::size_t, std::string_view l, const std::string_view*) { return !l.empty(); });
}

KeptLines DeleteRepeatedLines(LineSpan lines) {
  return FilterLines(lines, [](std::size_t, std::string_view l, const std::string_view* previous) {
    return !previous || l != *previous;
  });
}

KeptLines DeleteSameKeyLines(LineSpan lines, std::int64_t n) {
  const std::size_t k = n > 1 ? static_cast<std::size_t>(n - 1) : 0;
  return FilterLines(lines, [&](std::size_t, std::string_view l, const std::string_view* previous) {
    return !previous || l.substr(0, k) != previous->substr(0, k);
  });
}

}  // namespace haruvi::textcmd
