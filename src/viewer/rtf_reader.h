// A small reader of rich text (RTF): groups, paragraphs, line breaks, tabs, bold, italic,
// underline, strike-out, font sizes, the colour table, \'hh bytes in the document's code
// page and \uN characters. Destinations it does not know are skipped. It trusts nothing
// in the file: group nesting is capped and \bin lengths are clamped to what is there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/pane_codec.h"

namespace haruvi::viewer {

struct RtfRun {
  std::u16string text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  int half_points = 0;      // 0: the pane's own size
  bool has_color = false;
  std::uint32_t color = 0;  // 0xRRGGBB
};

struct RtfParagraph {
  std::vector<RtfRun> runs;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
  // The plain text: paragraphs joined with "\n".
  std::u16string PlainText() const;
};

inline constexpr int kMaxRtfDepth = 256;

// nullopt when the bytes are not rich text (no "{\rtf" at the start) or nest deeper than
// kMaxRtfDepth groups; a file cut short gives what was read up to its end.
std::optional<RtfDocument> ReadRtf(std::string_view bytes,
                                   encoding::CodePage fallback = encoding::CodePage::Cp932);

// Windows code-page numbers of \ansicpgN: 932 -> Cp932, 1252 -> Windows1252 ...
std::optional<encoding::CodePage> CodePageForNumber(int number);

}  // namespace haruvi::viewer
