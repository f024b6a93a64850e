// A file's bytes as the code conversions read them: cut at the first NUL, split into
// lines at CR, LF or CR LF, and joined again with CR LF after every line, the last too.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::encoding {

std::string JoinLinesWithCrLf(std::string_view file_bytes);
// True when JoinLinesWithCrLf would return the bytes unchanged (no NUL, every line ended
// by CR LF, no lone CR or LF), so a caller may skip the copy.
bool IsJoinedWithCrLf(std::string_view file_bytes);

}  // namespace haruvi::encoding
