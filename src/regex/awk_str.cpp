// Match, GSub and the three template passes (mark literal ampersands, escapes,
// substitution).
#include "regex/awk_str.h"

#include "regex/char_dict.h"
#include "regex/scanner.h"

namespace haruvi::regex {

TAWKStr::TAWKStr() { PreProcessor().FuzzyCharDicList.push_back(CharEquivalenceDictionary()); }

MatchPosition TAWKStr::Match(std::string_view subject) const {
  MatchRange m = Search(subject, 0);
  if (!m.found) return {};
  return {m.start + 1, m.end - m.start};
}

std::string TAWKStr::ProcessEscapes(std::string_view templ) {
  std::string out;
  PatternReader reader(templ);
  while (!reader.AtEnd()) {
    std::size_t from = reader.Pos();
    Code c = reader.GetChar();
    if (c == '\\') {
      AppendCode(out, reader.ReadEscape());
    } else {
      out.append(templ.substr(from, reader.Pos() - from));
    }
  }
  return out;
}

TAWKStr::Template TAWKStr::PrepareTemplate(std::string_view templ) {
  // Pass 1: a "\&" becomes "\\&" so that escape processing leaves "\&" behind.
  std::string marked;
  PatternReader reader(templ);
  while (!reader.AtEnd()) {
    std::size_t from = reader.Pos();
    Code c = reader.GetChar();
    if (c == '\\' && !reader.AtEnd()) {
      Code d = reader.GetChar();
      if (d == '&') marked += "\\\\&";
      else marked.append(templ.substr(from, reader.Pos() - from));
    } else {
      marked.append(templ.substr(from, reader.Pos() - from));
    }
  }
  // Pass 2: escapes.
  std::string escaped = ProcessEscapes(marked);
  // Pass 3 (prepared): "&" is the matched text, "\&" an ampersand, other backslashes stay.
  Template t;
  t.pieces.emplace_back();
  for (std::size_t p = 0; p < escaped.size();) {
    CharAt c = ReadChar(escaped, p);
    if (c.code == '&') {
      t.pieces.emplace_back();
    } else if (c.code == '\\' && c.next < escaped.size() && escaped[c.next] == '&') {
      t.pieces.back().push_back('&');
      p = c.next + 1;
      continue;
    } else {
      t.pieces.back().append(escaped, p, c.next - p);
    }
    p = c.next;
  }
  return t;
}

void TAWKStr::AppendExpanded(std::string& out, const Template& t, std::string_view matched) {
  for (std::size_t i = 0; i < t.pieces.size(); ++i) {
    if (i) out.append(matched);
    out.append(t.pieces[i]);
  }
}

int TAWKStr::GSub(std::string_view templ, std::string& subject) const {
  WalkMemo memo;  // the subject stays unchanged until the end
  MatchRange m = Search(subject, 0, memo);
  if (!m.found) return 0;
  const Template t = PrepareTemplate(templ);
  if (subject.empty()) {
    std::string out;
    AppendExpanded(out, t, {});
    subject = std::move(out);
    return 1;
  }
  const std::string_view s = subject;
  std::string result;
  result.reserve(s.size());
  std::size_t rest = 0;  // start of the unmatched remainder
  int count = 0;
  while (m.found) {
    result.append(s.substr(rest, m.start - rest));
    AppendExpanded(result, t, s.substr(m.start, m.end - m.start));
    rest = m.end;
    if (m.start == m.end && rest < s.size()) {
      // An empty match copies one character and steps past it; a CR LF pair is one unit.
      std::size_t step = ReadChar(s, rest).next - rest;
      if (LineSeparator == mcls_CRLF && s[rest] == '\r' && rest + 1 < s.size() && s[rest + 1] == '\n')
        step = 2;
      result.append(s.substr(rest, step));
      rest += step;
    }
    ++count;
    if (rest >= s.size()) break;
    m = (s[rest - 1] == '\n') ? Search(s, rest, memo) : SearchFrom(s, rest, memo);
  }
  result.append(s.substr(rest));
  subject = std::move(result);
  return count;
}

}  // namespace haruvi::regex
