// The hexadecimal renderings of the text pane, as text: "標準表示" dumps a file's bytes
// sixteen to a line under a header, "行下表示" writes under each line of a text two lines
// with the upper and the lower hexadecimal digit of each of its bytes. Lines end with
// CR LF, as the pane's text does. Long work checks `cancelled` every few thousand lines
// and stops with what it has, ending in the line "中断しました！"; at the same steps it
// hands `produced` the text made so far, so a window can show the lines as they come.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace haruvi::viewer {

struct HexDump {
  std::string text;
  bool cancelled = false;
};

// The header (information line, an empty line, the column ruler and its underline) and
// one line per 16 bytes, labelled with the line number (from 1) in eight hex digits.
// The text so far, valid only during the call.
using DumpProduced = std::function<void(std::string_view so_far)>;

HexDump DumpBytes(std::string_view bytes, std::string_view info_line, const std::function<bool()>& cancelled = {},
                  const DumpProduced& produced = {});

// DumpBytes in pieces, for output that never needs the whole text (the tool's): the
// header comes with the first piece, each Feed adds the lines its bytes complete (any
// piece sizes), and Finish the last partial line. The text is DumpBytes' exactly.
class ByteDumper {
 public:
  explicit ByteDumper(std::string_view info_line) : header_(info_line) {}
  void Feed(std::string_view bytes, std::string* out);
  void Finish(std::string* out);

 private:
  std::string header_;
  bool started_ = false;
  std::size_t line_ = 1;
  std::string held_;  // bytes of a line not yet complete (fewer than 16)
};

// The information line, an empty line, then each line of `text` (split at CR LF, CR or LF)
// followed by its upper-digit and lower-digit lines.
HexDump DumpUnderLines(std::string_view text, std::string_view info_line, const std::function<bool()>& cancelled = {},
                       const DumpProduced& produced = {});

// In Shift_JIS, as the rest of the pane's text: the dump is shown in the font's code page.
inline constexpr std::string_view kDumpCancelled = "\x92\x86\x92\x66\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x49";

}  // namespace haruvi::viewer
