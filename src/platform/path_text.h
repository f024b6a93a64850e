// File names as text without losing bytes: names are UTF-8 where they can be, and a byte
// that is not part of valid UTF-8 (a Shift_JIS name from an old archive, say) becomes
// the lone surrogate U+DC00 + byte, which turns back into the same byte. So every path the
// file system hands out can be shown, selected and opened again.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::platform {

std::u16string PathToUtf16(std::string_view bytes);
std::string Utf16ToPath(std::u16string_view text);

}  // namespace haruvi::platform
