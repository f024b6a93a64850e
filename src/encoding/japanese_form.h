// Which EUC-JP and ISO-2022-JP texts the pane shows decoded, and how an ISO-2022-JP text
// is held there: as EUC-JP with its escape sequences kept, written back byte for byte.
// A text these rules do not take stays as it was (bytes in the font's code page).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "encoding/char_code.h"
#include "encoding/text_form.h"

namespace haruvi::encoding {

// The pane form of a text the Japanese detector named `code`: EucJp for EUC, and for
// EUC-or-Shift_JIS when every byte reads as EUC-JP; Jis for JIS83/JIS78 when its pane
// form gives the text back exactly; Legacy otherwise.
TextForm JapaneseFormOf(std::string_view bytes, TCharCode code);

// Every byte of `bytes` belongs to an EUC-JP character (no byte the codec shows raw).
bool ReadsAsEuc(std::string_view bytes);

// ISO-2022-JP into its pane form: the pairs of two-byte modes as EUC-JP (0x8F before JIS
// X 0212), half-width kana as 0x8E and the kana, escapes and every other byte as they
// are. nullopt when the way back would not give `jis` exactly (a byte 0x80-0xFF).
std::optional<std::string> JisToPaneEuc(std::string_view jis);
// The way back. EUC-JP characters where the escapes before them say another mode (typed
// in simple edit) are written with an escape before and one back after them.
std::string PaneEucToJis(std::string_view pane);

}  // namespace haruvi::encoding
