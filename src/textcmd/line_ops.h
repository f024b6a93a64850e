// Line operations of the text pane as pure functions over Shift_JIS byte lines: numbering,
// reversing, trimming, TAB and full-width space handling, and the deletions of empty,
// repeated and same-key lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

// `linenumber`: layout 1 "n line", 2 "n,line", 3 "line n", 4 "line,n"; n is padded on the
// left with spaces to the width of the line count. Any other layout changes nothing.
Lines linenumber(LineSpan lines, int layout);

// Serial numbers on lines [first_line, last_line] (clamped to the list): the format's
// trailing "0"s give the least digit count, the rest is the prefix; each line becomes
// prefix + number + " " + line, counting up from `first`.
Lines AddSerialNumbers(LineSpan lines, std::string_view format, std::int64_t first,
                       std::size_t first_line, std::size_t last_line);

// `strreverse`: the characters in reverse order, two-byte characters and CR LF kept whole.
std::string strreverse(std::string_view s);
Lines ReverseLines(LineSpan lines);

// The caret's line inserted again below itself, or deleted; an index past the end
// changes nothing.
Lines DuplicateLine(LineSpan lines, std::size_t index);
KeptLines DeleteLine(LineSpan lines, std::size_t index);

// Leading spaces, then leading full-width spaces, each step once.
Lines TrimLeadingSpaces(LineSpan lines);
// While the last character is a space or a full-width space: drop a full-width space,
// then every trailing byte of 0x20 or less.
Lines TrimTrailingSpaces(LineSpan lines);

// On the whole text: every space, or every full-width space character.
std::string DeleteAllSpaces(std::string_view text);
std::string DeleteAllFullWidthSpaces(std::string_view text);

Lines DeleteAllTabs(LineSpan lines);
Lines DeleteLeadingTabs(LineSpan lines);
// `tabreplace`: every TAB becomes `with`.
Lines tabreplace(LineSpan lines, std::string_view with);
// Every full-width space becomes two spaces, so the line keeps its width.
Lines FullWidthSpacesToSpaces(LineSpan lines);

// The deletions keep input lines as they are, so they hand back a selection of them.
// Lines of length zero go; a line of blanks stays.
KeptLines DeleteEmptyLines(LineSpan lines);
// Each run of byte-equal adjacent lines shrinks to one.
KeptLines DeleteRepeatedLines(LineSpan lines);
// "同じ項目削除" with the answer `n`: the key is the first n - 1 bytes (at least none); a
// line goes when its key equals the key of the line before it, kept or not.
KeptLines DeleteSameKeyLines(LineSpan lines, std::int64_t n);

}  // namespace haruvi::textcmd
