// Shift_JIS commands on UTF-8 text: the text in CP932 wherever a character has a code that
// reads back as itself, and every other character (or stray byte) as a code of CP932's
// user-defined area (0xF040-0xF9FC) that nothing else in the text uses. A command sees
// whole two-byte characters it cannot split, counts them as two columns like any full-width
// character, and cannot match them by accident; putting the result back gives every such
// character exactly as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "encoding/text_form.h"

namespace haruvi::encoding {

class Utf8StandIns {
 public:
  // The bytes in Shift_JIS; the stand-ins it needs are added to the table, so a pattern
  // or prompt answer converted after the text uses the same ones. nullopt when the
  // user-defined area has no free code left (more than 1,880 characters without a code).
  std::optional<std::string> ToSjis(std::string_view utf8);
  // Shift_JIS text (a command's result) back to UTF-8.
  std::string ToUtf8(std::string_view sjis) const;

  std::size_t StandInCount() const { return seq_of_.size(); }

 private:
  std::optional<std::uint16_t> StandIn(const std::string& key, std::string_view bytes);
  std::uint16_t NextFree();

  std::unordered_map<std::string, std::uint16_t> code_of_;  // UTF-8 sequence (raw byte: 0xFF b) -> code
  std::unordered_map<std::uint16_t, std::string> seq_of_;   // code -> the bytes it stands for
  std::unordered_set<std::uint16_t> natural_;               // user-area codes the text uses as such
  std::uint32_t next_ = 0;                                   // index of the next code to try
};

// For matching lines one at a time with a pattern that treats every user-area code alike
// (so which stand-in a character gets cannot matter): `utf8` in Shift_JIS appended to
// `out`, each character without a code of its own and each stray byte as the one code
// kAnyStandIn. No table is kept, so no text is too varied for it.
inline constexpr std::uint16_t kAnyStandIn = 0xF040;
void ToSjisAlike(std::string_view utf8, std::string& out);

// Which UTF-8 text ToSjis and ToSjisAlike turn into the Shift_JIS character `sjis` (its
// one or two bytes): exactly one character's bytes (kOne, in `utf8`); none at all (kNone:
// a code that does not read back as its character, as the duplicates of NEC and IBM
// characters); or any character without a code (kStandIns: a user-area code).
struct Utf8Source {
  enum Kind { kOne, kNone, kStandIns } kind = kNone;
  std::string utf8;
};
Utf8Source Utf8SourceOf(std::string_view sjis);

// What a command says when a Unicode text has more characters without a code than the
// user-defined area can stand in for.
inline constexpr std::string_view kTooManyWithoutSjis =
    "このテキストには Shift_JIS にない文字が多すぎるため、処理できません。";

// A pane's text as a Shift_JIS command reads it, made once for one run: legacy text as it
// is (no copy), an EUC-JP one's in Shift_JIS when it comes back exactly, a Unicode form's (UTF-8, or UTF-16 held as UTF-8) converted through one
// table of stand-ins, which then also converts what is typed for the command and brings
// its result back. A legacy text's Text() is the given bytes, valid while they live.
class SjisView {
 public:
  SjisView(std::string_view pane_bytes, TextForm form);

  // A Unicode text with too many characters without a code: Text() is empty, and the
  // command is to be refused with kTooManyWithoutSjis.
  bool Refused() const { return refused_; }
  std::string_view Text() const { return standins_ || euc_ ? std::string_view(converted_) : text_; }
  // The text went through stand-ins (a Unicode form, not refused) or from EUC-JP into
  // Shift_JIS.
  bool Converted() const { return standins_.has_value() || euc_; }
  // Bytes typed in the pane's form (a pattern, a prompt's answer) as the command must
  // see them: with the text's stand-ins (new ones added), or as they are for a legacy
  // text. nullopt when they need more stand-ins than are left.
  std::optional<std::string> ToCommand(std::string_view pane_bytes);
  // A command's Shift_JIS result in the pane's form again.
  std::string ToPane(std::string_view result) const;

 private:
  std::optional<Utf8StandIns> standins_;
  std::string converted_;
  std::string_view text_;
  bool refused_ = false;
  bool euc_ = false;
};

}  // namespace haruvi::encoding
