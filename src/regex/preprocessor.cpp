// The expansion pass over the token stream. Classes are copied as written: positive
// ones by design, and negated ones too, because expanding inside '[^...]' would add the
// characters "(", "|" and ")" to the excluded set.
#include "regex/preprocessor.h"

#include "regex/scanner.h"

namespace haruvi::regex {

namespace {

void AppendEscapedWord(std::string& out, const std::string& word) {
  for (std::size_t p = 0; p < word.size();) {
    CharAt c = ReadChar(word, p);
    if (c.code < 0x80) {
      switch (c.code) {
        case '^': case '(': case '|': case ')': case '+': case '*': case '?':
        case '.': case '[': case ']': case '$': case '\\':
          out.push_back('\\');
          break;
        default: break;
      }
    }
    out.append(word, p, c.next - p);
    p = c.next;
  }
}

}  // namespace

std::string TREPreProcessor::Expand() const {
  std::string text = pattern_;
  if (UseSynonymDic && !SynonymDicList.empty()) text = ExpandWith(text, SynonymDicList);
  if (UseFuzzyCharDic && !FuzzyCharDicList.empty()) text = ExpandWith(text, FuzzyCharDicList);
  return text;
}

std::string TREPreProcessor::ExpandWith(std::string_view pattern, const DictList& dicts) {
  std::vector<Token> tokens;
  TREScanner scanner(pattern);
  for (Token t = scanner.NextToken(); t.kind != tkEnd; t = scanner.NextToken()) tokens.push_back(t);

  auto source = [&](const Token& t) { return pattern.substr(t.start - 1, t.next - t.start); };
  std::string out;
  bool in_class = false;
  std::size_t i = 0;
  while (i < tokens.size()) {
    const Token& t = tokens[i];
    if (t.kind == tkClassOpen || t.kind == tkNegClassOpen) in_class = true;
    else if (t.kind == tkClassClose) in_class = false;
    if (t.kind != tkChar || in_class) {
      out += source(t);
      ++i;
      continue;
    }
    std::size_t run_end = i;
    while (run_end < tokens.size() && tokens[run_end].kind == tkChar) ++run_end;
    while (i < run_end) {
      bool matched = false;
      for (const auto& dict : dicts) {
        for (auto [g, w] : dict->StartingWith(tokens[i].code)) {
          const std::vector<Code>& codes = dict->WordCodes(g, w);
          if (codes.size() > run_end - i) continue;
          std::size_t k = 1;
          while (k < codes.size() && codes[k] == tokens[i + k].code) ++k;
          if (k < codes.size()) continue;
          out.push_back('(');
          const auto& group = dict->Groups()[g];
          for (std::size_t n = 0; n < group.size(); ++n) {
            if (n) out.push_back('|');
            AppendEscapedWord(out, group[n]);
          }
          out.push_back(')');
          i += codes.size();
          matched = true;
          break;
        }
        if (matched) break;
      }
      if (!matched) {
        out += source(tokens[i]);
        ++i;
      }
    }
  }
  return out;
}

}  // namespace haruvi::regex
