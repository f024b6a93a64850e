// The pane's own byte search: find next up or down from a selection, with the
// match-case and whole-word options, and the literal replace-everything of the replace
// commands. A function of (bytes, find text, options) only, so a variant that knows
// another text form can sit beside it. Matches never start on the second byte of a
// Shift_JIS character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/pane_codec.h"

namespace haruvi::search {

struct FindOptions {
  bool down = true;
  bool whole_word = false;
  bool match_case = false;
  // The text is UTF-8: a match starts on any byte that is no continuation byte, and for
  // whole word every byte of a non-ASCII character is a word byte.
  bool utf8 = false;
  // Another code's character starts, where a match may begin (an EUC-JP text's codec);
  // null: Shift_JIS's (or UTF-8's, above).
  const encoding::PaneCodec* codec = nullptr;
};

// The word delimiters of the whole-word option: 0x00-0x2F, 0x3A-0x40, 0x5B-0x60,
// 0x7B-0x80, 0xA0-0xDF and 0xFD-0xFF. Every other byte is a word byte.
bool IsWordDelimiter(unsigned char b);

// Searches `text` for `find` from the selection (`sel_start`, `sel_length`): down from
// its end, up from the byte before its start. Returns the match's start (its length is
// find.size()), or nullopt. Without match case, single-byte ASCII letters compare
// without regard to case; two-byte characters compare exactly. With whole word, the
// byte before the match and the byte after it are delimiters or the text's ends.
std::optional<std::size_t> FindInText(std::string_view find, std::string_view text, const FindOptions& options,
                                      std::size_t sel_start, std::size_t sel_length);

// Replace everything from `from` on: every match (as FindInText finds them going down)
// is replaced by `replacement`, the search going on after the inserted text, so a
// replacement holding the find text cannot make it loop.
struct ReplaceResult {
  std::string text;
  std::size_t count = 0;
  std::size_t caret = 0;  // just after the last inserted text (or `from` when none)
};
ReplaceResult ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                         const FindOptions& options, std::size_t from = 0);

// Tells whether a byte offset is the start of a character, resyncing backward from the
// offset over the run of bytes that could be lead bytes rather than decoding from the
// start. Remembers the last run, so offsets met in order cost no rescans.
class CharStarts {
 public:
  explicit CharStarts(std::string_view text, bool utf8 = false, const encoding::PaneCodec* codec = nullptr)
      : text_(text), utf8_(utf8), codec_(codec) {}
  bool IsStart(std::size_t pos);

 private:
  std::string_view text_;
  bool utf8_;
  const encoding::PaneCodec* codec_;
  std::size_t run_begin_ = 0;  // [run_begin_, run_end_): lead-range bytes after a boundary
  std::size_t run_end_ = 0;
};

}  // namespace haruvi::search
