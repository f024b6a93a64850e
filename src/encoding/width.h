// Width and kana conversion of a whole Shift_JIS text: half-width letters, digits,
// symbols and katakana to full-width and back, and half-width kana alone to full-width.
// A lead byte without a proper second byte (or at the very end) is copied on its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// ｶﾞ and ﾊﾟ merge into one character; a ﾟ after ｶ to ﾄ stays a separate ゜ (ｶﾟ is not キ).
std::string HankakuToZenkaku(std::string_view text);
// Hiragana and katakana become half-width katakana with ﾞ or ﾟ where needed.
std::string ZenkakuToHankaku(std::string_view text);
// Only half-width kana, one character for one; voicing marks are not merged.
std::string HalfKanaToFull(std::string_view text);

enum class WidthOp { kHankakuToZenkaku, kZenkakuToHankaku, kHalfKanaToFull };
// One piece of a text converted in pieces, as ConvertCodePiece (jis_convert.h) does it:
// the characters that start before `limit`, *used where the next piece starts.
std::string ConvertWidthPiece(WidthOp op, std::string_view text, size_t limit, size_t* used);

}  // namespace haruvi::encoding
