#include "textcmd/line_end.h"

#include <algorithm>
#include <cstring>

namespace haruvi::textcmd {
namespace {

std::string_view Sequence(TLineEnd kind) {
  switch (kind) {
    case kLineEndCrLf: return "\r\n";
    case kLineEndCr: return "\r";
    case kLineEndLf: return "\n";
    default: return "";
  }
}

// Appends `text` with every `from` replaced by `to`.
void ReplaceAll(std::string_view text, std::string_view from, std::string_view to, std::string& out) {
  std::size_t pos = 0;
  for (;;) {
    std::size_t at = text.find(from, pos);
    if (at == std::string_view::npos) break;
    out.append(text, pos, at - pos);
    out.append(to);
    pos = at + from.size();
  }
  out.append(text, pos, text.size() - pos);
}

}  // namespace

TLineEnd DetectLineEnd(std::string_view text) {
  std::size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return kLineEndNone;
  if (text[at] == '\n') return kLineEndLf;
  return (at + 1 < text.size() && text[at + 1] == '\n') ? kLineEndCrLf : kLineEndCr;
}

std::string ConvertLineEnd(std::string_view text, TLineEnd from, TLineEnd to) {
  std::string_view f = Sequence(from);
  if (f.empty() || from == to) return std::string(text);
  // The whole sequence must match: a lone CR in a CR LF text keeps the byte after it.
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  ReplaceAll(text, f, Sequence(to), out);
  return out;
}

std::string crconvert(std::string_view file_bytes, TLineEnd from, TLineEnd to) {
  return ConvertLineEnd(file_bytes, from, to);
}

std::string crauto(std::string_view file_bytes) {
  return ConvertLineEnd(file_bytes, DetectLineEnd(file_bytes), kLineEndCrLf);
}

std::string RemoveLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ReplaceAll(text, "\r\n", "", out);
  return out;
}

std::string RemoveLineEnds(std::string_view text, std::size_t start, std::size_t length) {
  start = std::min(start, text.size());
  length = std::min(length, text.size() - start);
  std::string out(text.substr(0, start));
  ReplaceAll(text.substr(start, length), "\r\n", "", out);
  out.append(text.substr(start + length));
  return out;
}

}  // namespace haruvi::textcmd
