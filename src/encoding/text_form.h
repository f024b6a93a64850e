// The Unicode forms a file may be written in, looked for before the Japanese codes: a
// byte-order mark names its form; a text entirely valid as UTF-8 with at least one
// multi-byte sequence is UTF-8; UTF-16 without a mark where nearly all its units read
// as Japanese or ASCII characters in one byte order. Anything else is left to
// DetectCharCode, whose answers stay as they were.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "encoding/char_code.h"

namespace haruvi::encoding {

// EucJp and Jis are no Unicode forms: DetectTextForm never names them. They are the
// pane's forms of EUC-JP and ISO-2022-JP texts shown decoded (japanese_form.h).
enum class TextForm { Legacy, Utf8, Utf8Bom, Utf16Le, Utf16Be, EucJp, Jis };

// UTF-16 without a mark is looked for in this many leading bytes.
inline constexpr std::size_t kUtf16ScanBytes = 64 * 1024;

TextForm DetectTextForm(std::string_view bytes);

// "UTF-8", "UTF-8(BOM)", "UTF-16LE", "UTF-16BE"; empty for the others.
std::string TextFormName(TextForm form);
bool IsUtf16(TextForm form);
bool IsUnicode(TextForm form);
// EucJp or Jis: the bytes are decoded for the pane, but commands read them as they are.
bool IsJapaneseForm(TextForm form);

// The code name the information line ends with: the Unicode form's, else the Japanese
// code's from DetectCharCode.
std::string CodeNameOf(std::string_view bytes);

}  // namespace haruvi::encoding
