// Plain pane text written as rich text ("保存" to a .RTF name): the pane's bytes kept as
// they are, each byte above 0x7F as \'hh under the code page the document declares, so
// the reader (and any rich-text reader) gets the same characters back.
#pragma once

#include <string>
#include <string_view>

#include "encoding/pane_codec.h"

namespace haruvi::viewer {

// `font_name` is the pane's font, in the pane's code page; `half_points` its size.
std::string WriteRtf(std::string_view pane_bytes, encoding::CodePage page, std::string_view font_name,
                     int half_points);

}  // namespace haruvi::viewer
