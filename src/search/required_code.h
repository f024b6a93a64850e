// The characters every match of a pattern contains, found on its automaton: a line that
// holds none of one such character's bytes cannot match, so grep looks for those bytes
// first and runs the line automaton only on the lines that hold them.
#pragma once

#include <string>
#include <vector>

#include "regex/dfa.h"

namespace haruvi::search {

// The byte forms of characters without which no match is possible (at most `limit` are
// tried), as the file holds them. Left out are the line feed and the characters that a
// zero byte also reads as (a space, a lead byte with a space), whose bytes may be absent
// from a matching line.
std::vector<std::string> RequiredCharacters(const regex::TRE_DFA& dfa, std::size_t limit = 32);

}  // namespace haruvi::search
