// File names as the window shows them. A name is bytes; on this system most are UTF-8,
// but names from Japanese archives and old disks are Shift_JIS. Each name of a path is
// shown as UTF-8 when it is UTF-8, as its CP932 reading when it reads as CP932 throughout,
// and otherwise with each stray byte as U+FFFD. Only for showing: operations keep bytes.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::encoding {

bool IsValidUtf8(std::string_view bytes);
// The path's names, each as above, joined by "/"; UTF-8.
std::string NameForDisplay(std::string_view path_bytes);

}  // namespace haruvi::encoding
