// The line filters of the pane: keep or delete the lines that contain a text or match a
// pattern, delete a word everywhere, and the continuous forms that apply a list of
// entries in order, each on the result of the one before. Lines are the pane's
// (encoding::LinesOf: CR LF, a lone CR or a lone LF ends one; a NUL is an ordinary byte);
// results are lines to be joined with CR LF, or text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::search {

struct LineFilterResult {
  std::vector<std::string> lines;  // what stays
  std::size_t count = 0;           // lines kept (pick) or deleted (delete)
};

// Plain tests: exact, case-sensitive byte substring; an empty text is in no line.
LineFilterResult PickLines(std::string_view text, std::string_view needle);
LineFilterResult DeleteLines(std::string_view text, std::string_view needle);

// Regular-expression tests, each line on its own ("^" and "$" are its ends); an empty
// match counts. Patterns compile with the character-equivalence dictionary when `fuzzy`.
// A pattern error raises regex::ERegExpParser before anything is decided.
LineFilterResult PickLinesMatching(std::string_view text, std::string_view pattern, bool fuzzy);
LineFilterResult DeleteLinesMatching(std::string_view text, std::string_view pattern, bool fuzzy);

// Every occurrence of `word` removed (left to right, never from a trail byte); an empty
// word changes nothing.
std::string DeleteWord(std::string_view text, std::string_view word);

// The continuous commands: the entries in list order. Line deletion: plain entries as
// DeleteLines (an empty entry deletes nothing), pattern entries as DeleteLinesMatching
// (an empty entry matches every line). Word deletion: plain as DeleteWord, patterns
// through GSub with an empty template. A pattern error raises ERegExpParser and no
// partial result escapes.
std::vector<std::string> DeleteLinesOfList(std::string_view text, const std::vector<std::string>& entries, bool regex,
                                           bool fuzzy);
std::string DeleteWordsOfList(std::string_view text, const std::vector<std::string>& entries, bool regex, bool fuzzy);

// A list file: one entry per line (CR LF, CR or LF); written with CR LF.
std::vector<std::string> ParseListFile(std::string_view bytes);
std::string FormatListFile(const std::vector<std::string>& entries);

}  // namespace haruvi::search
