#include "viewer/hex_dump.h"

#include <algorithm>
#include <cstring>

#include "encoding/line_scan.h"

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

// The lines of a text as the pane splits them, until `line` returns false.
template <class F>
bool EachLine(std::string_view text, F&& line) {
  for (std::string_view l : encoding::LinesOf(text))
    if (!line(l)) return false;
  return true;
}

}  // namespace

namespace {

constexpr std::size_t kLineBytes = 61;  // "XXXXXXXX : " + 16 x "XX " + CR LF

void Header(std::string& out, std::string_view info_line) {
  out.append(info_line);
  out += "\r\n\r\n";
  out += "00000000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n";
  out += "-------- : -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\r\n";
}

// "XX " for each byte value, one four-byte store each (the fourth byte is overwritten
// by the next cell or the line end).
struct Cells {
  char cell[256][4];
  Cells() {
    for (int b = 0; b < 256; ++b) {
      cell[b][0] = kHex[b >> 4];
      cell[b][1] = kHex[b & 15];
      cell[b][2] = ' ';
      cell[b][3] = ' ';
    }
  }
};
const Cells kCells;

// `count` whole lines of 16 bytes from `in`, numbered from `number`, at `out` (exactly
// count * kLineBytes bytes are written).
void FormatLines(const unsigned char* in, std::size_t count, std::size_t number, char* out) {
  for (std::size_t l = 0; l < count; ++l, ++number, in += 16) {
    std::size_t n = number;
    for (int k = 7; k >= 0; --k) {
      out[k] = kHex[n & 15];
      n >>= 4;
    }
    out[8] = ' ';
    out[9] = ':';
    out[10] = ' ';
    char* c = out + 11;
    for (int k = 0; k < 16; ++k, c += 3) std::memcpy(c, kCells.cell[in[k]], 4);
    out[59] = '\r';
    out[60] = '\n';
    out += kLineBytes;
  }
}

void AppendLines(std::string& out, const unsigned char* in, std::size_t count, std::size_t number) {
  const std::size_t at = out.size();
  out.resize(at + count * kLineBytes);
  FormatLines(in, count, number, out.data() + at);
}

void PartialLine(std::string& out, std::string_view rest, std::size_t number) {
  Label(out, number);
  for (unsigned char b : rest) out.append(kCells.cell[b], 3);
  out += "\r\n";
}

}  // namespace

HexDump DumpBytes(std::string_view bytes, std::string_view info_line, const std::function<bool()>& cancelled,
                  const DumpProduced& produced) {
  HexDump d;
  const std::size_t whole = bytes.size() / 16;
  d.text.reserve(info_line.size() + 140 + (whole + 1) * kLineBytes + 32);
  Header(d.text, info_line);
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t line = 1;
  // Lines in blocks, with a look at the cancel question before every kCheckEvery-th.
  while (line <= whole) {
    if (line % kCheckEvery == 0) {
      if (produced) produced(d.text);
      if (cancelled && cancelled()) {
        d.cancelled = true;
        break;
      }
    }
    const std::size_t next_check = (line / kCheckEvery + 1) * kCheckEvery;
    const std::size_t count = std::min(next_check - line, whole - line + 1);
    AppendLines(d.text, in + (line - 1) * 16, count, line);
    line += count;
  }
  // The last, partial line; an empty file still has one, holding only its label. A file
  // of whole lines has none (unless cancelled, when the line so far is written).
  if (d.cancelled) {
    PartialLine(d.text, {}, line);
    d.text.append(kDumpCancelled);
    d.text += "\r\n";
  } else if (bytes.size() % 16 != 0 || bytes.empty()) {
    PartialLine(d.text, bytes.substr(whole * 16), line);
  }
  return d;
}

void ByteDumper::Feed(std::string_view bytes, std::string* out) {
  if (!started_) {
    Header(*out, header_);
    started_ = true;
  }
  if (!held_.empty()) {
    // Complete the held line first.
    const std::size_t take = std::min(bytes.size(), 16 - held_.size());
    held_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (held_.size() < 16) return;
    AppendLines(*out, reinterpret_cast<const unsigned char*>(held_.data()), 1, line_++);
    held_.clear();
  }
  const std::size_t count = bytes.size() / 16;
  AppendLines(*out, reinterpret_cast<const unsigned char*>(bytes.data()), count, line_);
  line_ += count;
  held_.assign(bytes.substr(count * 16));
}

void ByteDumper::Finish(std::string* out) {
  const bool empty = !started_ || (line_ == 1 && held_.empty());
  if (!started_) {
    Header(*out, header_);
    started_ = true;
  }
  if (!held_.empty() || empty) PartialLine(*out, held_, line_);
  held_.clear();
}

HexDump DumpUnderLines(std::string_view text, std::string_view info_line, const std::function<bool()>& cancelled,
                       const DumpProduced& produced) {
  HexDump d;
  d.text.reserve(info_line.size() + 4 + text.size() * 3 + 64);
  d.text.append(info_line);
  d.text += "\r\n\r\n";
  std::size_t n = 0;
  EachLine(text, [&](std::string_view line) {
    if (++n % kCheckEvery == 0) {
      if (produced) produced(d.text);
      if (cancelled && cancelled()) {
        d.cancelled = true;
        return false;
      }
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
