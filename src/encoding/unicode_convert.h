// Conversions between the Japanese codes and UTF-8/UTF-16, whole or in pieces. CP932's
// vendor characters (NEC and IBM extensions) map as the system's CP932 converter maps
// them. A character the target cannot hold (or a byte that is no character of the
// source) is written as the target's substitute and counted, never dropped.
//
// Also the pane's lossless form of a UTF-16 file: UTF-8 in which an unpaired surrogate
// keeps its three-byte form and an odd last byte follows an 0xFF, so that converting
// back gives the file's bytes exactly.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/piece_convert.h"
#include "encoding/text_form.h"

namespace haruvi::encoding {

enum class UnicodeOp {
  kSjisToUtf8, kUtf8ToSjis, kEucToUtf8, kUtf8ToEuc, kJisToUtf8, kUtf8ToJis,
  kUtf16ToUtf8,      // the mark (or detection, else little-endian) decides the order
  kUtf8ToUtf16,      // little-endian with a mark
  kUtf8ToUtf16Le,    // no mark
  kUtf8ToUtf16Be,    // no mark
};

// "sjis2utf8", "utf82sjis", "euc2utf8", "utf82euc", "jis2utf8", "utf82jis", "utf162utf8",
// "utf82utf16", "utf82utf16le", "utf82utf16be".
std::optional<UnicodeOp> UnicodeOpNamed(std::string_view name);
std::string_view UnicodeOpName(UnicodeOp op);

inline constexpr std::string_view kSjisSubstitute = "\x81\xAC";    // "〓"
inline constexpr std::string_view kUtf8Substitute = "\xEF\xBF\xBD";  // U+FFFD

std::string SjisToUtf8(std::string_view sjis, std::size_t* unmappable = nullptr);
std::string Utf8ToSjisCounted(std::string_view utf8, std::size_t* unmappable = nullptr);
std::string ConvertUnicode(UnicodeOp op, std::string_view text, std::size_t* unmappable = nullptr);

// The piecewise form; *unmappable (which must outlive the conversion) grows as it goes.
std::unique_ptr<PieceConversion> MakeUnicodeConversion(UnicodeOp op, std::size_t* unmappable);

// The pane's bytes in form `from` (Legacy: CP932; UTF-16: its UTF-8 form; Jis: its EUC-JP
// form) as a file in form `to` (UTF-16 with its mark); what `to` cannot hold is counted in *unmappable.
std::string ConvertPaneForm(std::string_view pane_bytes, TextForm from, TextForm to, std::size_t* unmappable);

// UTF-16 bytes into the pane's UTF-8 and back, byte for byte.
std::string Utf16ToPaneUtf8(std::string_view bytes, bool little_endian);
std::string PaneUtf8ToUtf16(std::string_view utf8, bool little_endian);

}  // namespace haruvi::encoding
