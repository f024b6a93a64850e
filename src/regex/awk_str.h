// TAWKStr: AWK-style Match and global substitution (GSub) with replacement templates, on
// Shift_JIS strings. Used by regex replace, the regex line filters and TeX stripping.
//
//   TAWKStr awk;                 // character-equivalence dictionary registered, off
//   awk.SetRegExp("[0-9]+");     // may throw ERegExpParser (message + position)
//   auto [pos, len] = awk.Match(line);       // 1-based position, 0 when none
//   int n = awk.GSub("<&>", text);           // text changed in place, n replacements
//
// In a template "&" is the matched text, "\&" an ampersand, "\\" a backslash, and "\n",
// "\t", "\r", "\b", "\xHH", "\ooo" the escapes of the pattern language.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regex/match_core.h"

namespace haruvi::regex {

struct MatchPosition {
  std::size_t position = 0;  // 1-based; 0 when nothing matched
  std::size_t length = 0;
};

class TAWKStr : public TMatchCORE {
 public:
  TAWKStr();

  MatchPosition Match(std::string_view subject) const;
  // Replaces every match in `subject`; returns the number of replacements. A template
  // error raises ERegExpParser (subject unchanged).
  int GSub(std::string_view templ, std::string& subject) const;

  // GSub of a text read in pieces (awk_pieces.cpp): the same replacements and bytes as
  // GSub on the whole text, in bounded memory. Each call takes the front of `held` (the
  // rest of the text follows unless `last`) as far as the matches there cannot depend on
  // what follows, appends the result to `out` and returns the bytes taken: 0 when the
  // window must grow first (a line not yet ended, for patterns whose matches may be
  // longer than any window), all of them when `last`.
  struct PieceState {
    int count = 0;           // replacements so far
    bool line_head = true;   // the next byte starts a line
    bool started = false;    // some bytes came before
    bool analysed = false;   // the pattern's reach, worked out at the first call:
    bool crosses_lf = true;  //   a match may take a line feed
    std::size_t reach = 0;   //   bytes a search may look past its start (0: no bound)
  };
  std::size_t GSubPiece(std::string_view templ, std::string_view held, bool last, std::string& out,
                        PieceState& state) const;

  // Escape processing of a template, after literal ampersands have been marked.
  static std::string ProcessEscapes(std::string_view templ);

 private:
  // A template after its first two passes: text pieces with the matched text between.
  struct Template {
    std::vector<std::string> pieces;  // pieces.size() - 1 insertions of the matched text
  };
  static Template PrepareTemplate(std::string_view templ);
  static void AppendExpanded(std::string& out, const Template& t, std::string_view matched);
};

}  // namespace haruvi::regex
