// The URL command's proposal from the pane (the run of printable ASCII at the caret's line
// or in the selection) and the schemes it will hand to the desktop.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::systools {

// Without a selection: the first run of printable characters on `line`, kept only when it
// holds "://". Double-byte characters (Shift_JIS lead bytes) are stepped over whole.
std::string UrlFromLine(std::string_view line);
// From a selection: leading double-byte characters and unprintable bytes at both ends
// removed, then the leading run of printable characters.
std::string UrlFromSelection(std::string_view selection);
// True for http, https, ftp and file URLs (the scheme in any case); everything else
// (javascript:, a program's own scheme, no scheme) is refused.
bool UrlSchemeAllowed(std::string_view url);

}  // namespace haruvi::systools
