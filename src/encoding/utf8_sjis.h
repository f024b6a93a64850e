// Text from outside the program into Shift_JIS: patterns typed in UTF-8 and file paths,
// which are UTF-8 on this system, for the Shift_JIS texts and reports the cores work on.
// The system's CP932 converter decides each character, so "〜" becomes 0x8160 as users of
// that code page expect, even though 0x8160 reads back as "～".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// The text in Shift_JIS; nullopt when it is not UTF-8 or holds a character Shift_JIS
// lacks. Safe to call from several threads.
std::optional<std::string> Utf8ToSjis(std::string_view utf8);

// A path for a Shift_JIS report: converted where it can be, else its bytes as they are
// (a name already in Shift_JIS, or one with a character Shift_JIS lacks), so that the
// report still names the file.
std::string PathToSjis(std::string_view path);

}  // namespace haruvi::encoding
