#include "viewer/rtf_writer.h"

#include "encoding/line_scan.h"
#include "viewer/rtf_reader.h"

namespace haruvi::viewer {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void Escaped(std::string& out, std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c >= 0x80 || c < 0x20) {
      out += "\\'";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
}

int CodePageNumber(encoding::CodePage page) {
  for (int n : {932, 1252, 949, 936, 950, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258, 874, 10000, 437})
    if (CodePageForNumber(n) == page) return n;
  return 932;
}

int Charset(int code_page) {
  switch (code_page) {
    case 932: return 128;
    case 949: return 129;
    case 936: return 134;
    case 950: return 136;
    case 1250: return 238;
    case 1251: return 204;
    case 1253: return 161;
    case 1254: return 162;
    case 1255: return 177;
    case 1256: return 178;
    case 1257: return 186;
    case 1258: return 163;
    case 874: return 222;
    case 10000: return 77;
    default: return 0;
  }
}

}  // namespace

std::string WriteRtf(std::string_view pane_bytes, encoding::CodePage page, std::string_view font_name,
                     int half_points) {
  const int cp = CodePageNumber(page);
  std::string out;
  out.reserve(pane_bytes.size() * 2 + 200);
  out += "{\\rtf1\\ansi\\ansicpg" + std::to_string(cp) + "\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset" +
         std::to_string(Charset(cp)) + " ";
  Escaped(out, font_name);
  out += ";}}\r\n\\f0\\fs" + std::to_string(half_points > 0 ? half_points : 18) + " ";
  // One paragraph a line: CR LF, a lone CR and a lone LF each end one.
  for (encoding::LineCursor c(pane_bytes); !c.AtEnd(); c.Advance()) {
    Escaped(out, c.Line());
    if (c.EndLength()) out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

}  // namespace haruvi::viewer
