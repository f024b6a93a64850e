#include "textcmd/tex_strip.h"

#include <array>
#include <vector>

#include "regex/awk_str.h"

namespace haruvi::textcmd {
namespace {

// In the pattern language "\\" matches one backslash. The last character class names
// the letters of a command in Shift_JIS: "@", ASCII letters, the full-width characters
// from "０" to "ω" and the kanji from "亜" to "熙".
constexpr std::array<std::string_view, 9> kPatterns = {
    R"(\\document(class|style)[^{}]*{[^}]*})",
    R"(\\usepackage[^{}]*{[^}]*})",
    R"(\\pagestyle{.*})",
    R"(\\begin({.*}|\[.*\])+)",
    R"(\\end{.*})",
    R"(\\[vh]space{.*})",
    R"(\\parbox\[.*\]{.*})",
    "\\\\[@a-zA-Z\x82\x4F-\x83\xD6\x88\x9F-\xEA\xA4]+",
    "%.*$",
};

void RemoveAll(std::string& text, std::string_view what) {
  std::string out;
  std::size_t pos = 0, at;
  while ((at = text.find(what, pos)) != std::string::npos) {
    out.append(text, pos, at - pos);
    pos = at + what.size();
  }
  if (pos == 0) return;
  out.append(text, pos, std::string::npos);
  text.swap(out);
}

// The patterns are compiled once: building their automata costs far more than a run.
const std::vector<regex::TAWKStr>& Compiled() {
  static const std::vector<regex::TAWKStr> compiled = [] {
    std::vector<regex::TAWKStr> v(kPatterns.size());
    for (std::size_t i = 0; i < kPatterns.size(); ++i) {
      v[i].LineSeparator = regex::mcls_CRLF;
      v[i].SetRegExp(kPatterns[i]);
    }
    return v;
  }();
  return compiled;
}

}  // namespace

std::string StripTex(std::string_view text) {
  std::string out(text);
  for (const regex::TAWKStr& awk : Compiled()) awk.GSub("", out);
  RemoveAll(out, "{}");
  RemoveAll(out, "[]");
  return out;
}

}  // namespace haruvi::textcmd
