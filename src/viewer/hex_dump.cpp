#include "viewer/hex_dump.h"

namespace haruvi::viewer {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
// How many lines go by between two looks at the cancel question.
constexpr std::size_t kCheckEvery = 4096;

void Label(std::string& out, std::size_t number) {
  char label[8];
  for (int k = 7; k >= 0; --k) {
    label[k] = kHex[number & 15];
    number >>= 4;
  }
  out.append(label, 8);
  out += " : ";
}

// The lines of a text as the pane splits them: CR LF, a lone CR or a lone LF end a line;
// a final line end adds no empty line.
template <class F>
bool EachLine(std::string_view text, F&& line) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    if (!line(text.substr(at, end - at))) return false;
    if (end == text.size()) break;
    at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return true;
}

}  // namespace

HexDump DumpBytes(std::string_view bytes, std::string_view info_line, const std::function<bool()>& cancelled) {
  HexDump d;
  const std::size_t lines = bytes.size() / 16 + 1;
  d.text.reserve(info_line.size() + 140 + lines * 61 + 32);
  d.text.append(info_line);
  d.text += "\r\n\r\n";
  d.text += "00000000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n";
  d.text += "-------- : -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\r\n";
  std::size_t line = 1, i = 0;
  for (; i + 16 <= bytes.size(); i += 16, ++line) {
    if (line % kCheckEvery == 0 && cancelled && cancelled()) {
      d.cancelled = true;
      break;
    }
    Label(d.text, line);
    for (std::size_t k = 0; k < 16; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      const char cell[3] = {kHex[b >> 4], kHex[b & 15], ' '};
      d.text.append(cell, 3);
    }
    d.text += "\r\n";
  }
  // The last, partial line; an empty file still has one, holding only its label. A file
  // of whole lines has none (unless cancelled, when the line so far is written).
  if (d.cancelled || bytes.size() % 16 != 0 || bytes.empty()) {
    Label(d.text, line);
    if (!d.cancelled)
      for (; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const char cell[3] = {kHex[b >> 4], kHex[b & 15], ' '};
        d.text.append(cell, 3);
      }
    d.text += "\r\n";
  }
  if (d.cancelled) {
    d.text.append(kDumpCancelled);
    d.text += "\r\n";
  }
  return d;
}

HexDump DumpUnderLines(std::string_view text, std::string_view info_line, const std::function<bool()>& cancelled) {
  HexDump d;
  d.text.reserve(info_line.size() + 4 + text.size() * 3 + 64);
  d.text.append(info_line);
  d.text += "\r\n\r\n";
  std::size_t n = 0;
  EachLine(text, [&](std::string_view line) {
    if (++n % kCheckEvery == 0 && cancelled && cancelled()) {
      d.cancelled = true;
      return false;
    }
    d.text.append(line);
    d.text += "\r\n";
    for (unsigned char c : line) d.text.push_back(kHex[c >> 4]);
    d.text += "\r\n";
    for (unsigned char c : line) d.text.push_back(kHex[c & 15]);
    d.text += "\r\n";
    return true;
  });
  if (d.cancelled) {
    d.text.append(kDumpCancelled);
    d.text += "\r\n";
  }
  return d;
}

}  // namespace haruvi::viewer
