#include "viewer/text_document.h"

#include <algorithm>
#include <cstring>

namespace haruvi::viewer {

void TextDocument::SetBytes(ByteBuffer bytes) {
  buffer_ = std::move(bytes);
  bytes_ = buffer_.view();
  starts_.clear();
  crlf_starts_.clear();
  max_line_length_ = 0;
  const char* begin = bytes_.data();
  const char* p = begin;
  const char* end = begin + bytes_.size();
  starts_.reserve(bytes_.size() / 48 + 1);
  bool all_crlf = true;
  while (p < end) {
    starts_.push_back(static_cast<std::size_t>(p - begin));
    // Most texts use one kind of line end: search for LF, then look for a CR before it.
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    const char* line_end;
    const char* next;
    if (cr) {
      line_end = cr;
      next = cr + 1;
      if (next == lf) ++next;
      else all_crlf = false;
    } else if (lf) {
      line_end = lf;
      next = lf + 1;
      all_crlf = false;
    } else {
      line_end = end;
      next = end;
    }
    max_line_length_ = std::max(max_line_length_, static_cast<std::size_t>(line_end - p));
    p = next;
  }
  if (!all_crlf) {
    crlf_starts_.reserve(starts_.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < starts_.size(); ++i) {
      crlf_starts_.push_back(at);
      at += Line(i).size() + (LineEndLength(i) ? 2 : 0);
    }
  }
}

std::string_view TextDocument::Line(std::size_t line) const {
  if (line >= starts_.size()) return {};
  const std::size_t start = starts_[line];
  std::size_t stop = line + 1 < starts_.size() ? starts_[line + 1] : bytes_.size();
  if (stop > start && bytes_[stop - 1] == '\n') --stop;
  if (stop > start && bytes_[stop - 1] == '\r') --stop;
  return bytes_.substr(start, stop - start);
}

std::size_t TextDocument::LineEndLength(std::size_t line) const {
  if (line >= starts_.size()) return 0;
  const std::size_t stop = line + 1 < starts_.size() ? starts_[line + 1] : bytes_.size();
  return stop - starts_[line] - Line(line).size();
}

std::size_t TextDocument::TextCrLfLength() const {
  if (crlf_starts_.empty()) return bytes_.size();
  const std::size_t last = starts_.size() - 1;
  return crlf_starts_[last] + Line(last).size() + (LineEndLength(last) ? 2 : 0);
}

std::string TextDocument::TextCrLf() const {
  if (crlf_starts_.empty()) return std::string(bytes_);
  std::string text;
  text.reserve(TextCrLfLength());
  for (std::size_t i = 0; i < starts_.size(); ++i) {
    text += Line(i);
    if (LineEndLength(i)) text += "\r\n";
  }
  return text;
}

std::size_t TextDocument::LineStart(std::size_t line) const {
  if (line >= starts_.size()) return TextCrLfLength();
  return crlf_starts_.empty() ? starts_[line] : crlf_starts_[line];
}

std::size_t TextDocument::LineOfOffset(std::size_t offset) const {
  if (starts_.empty()) return 0;
  const std::vector<std::size_t>& s = crlf_starts_.empty() ? starts_ : crlf_starts_;
  auto it = std::upper_bound(s.begin(), s.end(), offset);
  return static_cast<std::size_t>(it - s.begin()) - 1;
}

}  // namespace haruvi::viewer

namespace haruvi::viewer {

std::string TextDocument::SliceCrLf(std::size_t start, std::size_t length) const {
  std::string out;
  if (crlf_starts_.empty()) {
    if (start < bytes_.size()) out = std::string(bytes_.substr(start, length));
    return out;
  }
  const std::size_t stop = std::min(TextCrLfLength(), start + std::min(length, TextCrLfLength()));
  for (std::size_t line = LineOfOffset(start); line < starts_.size() && LineStart(line) < stop; ++line) {
    std::string piece(Line(line));
    if (LineEndLength(line)) piece += "\r\n";
    const std::size_t from = LineStart(line);
    const std::size_t a = start > from ? start - from : 0;
    const std::size_t b = std::min(piece.size(), stop - from);
    if (a < b) out.append(piece, a, b - a);
  }
  return out;
}

}  // namespace haruvi::viewer
