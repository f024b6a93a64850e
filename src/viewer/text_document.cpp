#include "viewer/text_document.h"

#include <algorithm>
#include <cstring>

namespace haruvi::viewer {

void TextDocument::EndOf(std::size_t start, std::size_t* end, std::size_t* next) const {
  const char* begin = bytes_.data();
  const char* p = begin + start;
  const char* stop_all = begin + bytes_.size();
  // Most texts use one kind of line end: search for LF, then look for a CR before it.
  const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop_all - p)));
  const char* stop = lf ? lf : stop_all;
  const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
  if (cr) {
    *end = static_cast<std::size_t>(cr - begin);
    *next = *end + 1 + (cr + 1 == lf ? 1 : 0);
  } else if (lf) {
    *end = static_cast<std::size_t>(lf - begin);
    *next = *end + 1;
  } else {
    *end = *next = bytes_.size();
  }
}

TextDocument::TextDocument(TextDocument&& other) noexcept { *this = std::move(other); }

TextDocument& TextDocument::operator=(TextDocument&& other) noexcept {
  buffer_ = std::move(other.buffer_);
  bytes_ = buffer_.view();
  marks_ = std::move(other.marks_);
  line_count_ = other.line_count_;
  crlf_length_ = other.crlf_length_;
  all_crlf_ = other.all_crlf_;
  max_line_length_ = other.max_line_length_;
  for (Found& f : recent_) f = Found{};
  other.bytes_ = {};
  other.line_count_ = other.crlf_length_ = other.max_line_length_ = 0;
  other.marks_.clear();
  return *this;
}

ByteBuffer TextDocument::TakeBuffer() {
  ByteBuffer taken = std::move(buffer_);
  SetBytes(ByteBuffer());
  return taken;
}

void TextDocument::SetBytes(ByteBuffer bytes) {
  buffer_ = std::move(bytes);
  bytes_ = buffer_.view();
  marks_.clear();
  for (Found& f : recent_) f = Found{};
  line_count_ = 0;
  max_line_length_ = 0;
  all_crlf_ = true;
  std::size_t pos = 0, crlf = 0;
  while (pos < bytes_.size()) {
    if (line_count_ % kMarkEvery == 0) marks_.push_back({pos, crlf});
    std::size_t end, next;
    EndOf(pos, &end, &next);
    const std::size_t ending = next - end;
    if (ending == 1) all_crlf_ = false;
    max_line_length_ = std::max(max_line_length_, end - pos);
    crlf += end - pos + (ending ? 2 : 0);
    ++line_count_;
    pos = next;
  }
  crlf_length_ = crlf;
}

const TextDocument::Found& TextDocument::Find(std::size_t line) const {
  Found& slot = recent_[line % 64];
  if (slot.line == line) return slot;
  // Start from the nearest line known before it: the previous line when it was just
  // used (painting goes down line by line), else the mark.
  const Found& before = recent_[(line + 63) % 64];
  Found f;
  std::size_t at;
  if (line > 0 && before.line == line - 1) {
    f.start = before.next;
    f.crlf = before.crlf + (before.end - before.start) + (before.next > before.end ? 2 : 0);
    at = line;
  } else {
    const Mark& m = marks_[line / kMarkEvery];
    f.start = m.byte;
    f.crlf = m.crlf;
    at = line / kMarkEvery * kMarkEvery;
  }
  for (;; ++at) {
    EndOf(f.start, &f.end, &f.next);
    if (at == line) break;
    f.crlf += (f.end - f.start) + (f.next > f.end ? 2 : 0);
    f.start = f.next;
  }
  f.line = line;
  slot = f;
  return slot;
}

std::string_view TextDocument::Line(std::size_t line) const {
  if (line >= line_count_) return {};
  const Found& f = Find(line);
  return bytes_.substr(f.start, f.end - f.start);
}

std::size_t TextDocument::LineEndLength(std::size_t line) const {
  if (line >= line_count_) return 0;
  const Found& f = Find(line);
  return f.next - f.end;
}

std::size_t TextDocument::TextCrLfLength() const { return crlf_length_; }

std::string TextDocument::TextCrLf() const {
  if (all_crlf_) return std::string(bytes_);
  std::string text;
  text.reserve(crlf_length_);
  for (std::size_t pos = 0; pos < bytes_.size();) {
    std::size_t end, next;
    EndOf(pos, &end, &next);
    text.append(bytes_.substr(pos, end - pos));
    if (next > end) text += "\r\n";
    pos = next;
  }
  return text;
}

std::size_t TextDocument::LineStart(std::size_t line) const {
  if (line >= line_count_) return crlf_length_;
  return Find(line).crlf;
}

std::size_t TextDocument::LineOfOffset(std::size_t offset) const {
  if (line_count_ == 0) return 0;
  // The last mark at or before the offset, then line by line.
  auto it = std::upper_bound(marks_.begin(), marks_.end(), offset,
                             [](std::size_t v, const Mark& m) { return v < m.crlf; });
  std::size_t line = static_cast<std::size_t>(it - marks_.begin() - 1) * kMarkEvery;
  while (line + 1 < line_count_ && LineStart(line + 1) <= offset) ++line;
  return line;
}

}  // namespace haruvi::viewer

namespace haruvi::viewer {

std::string TextDocument::SliceCrLf(std::size_t start, std::size_t length) const {
  std::string out;
  if (all_crlf_) {
    if (start < bytes_.size()) out = std::string(bytes_.substr(start, length));
    return out;
  }
  const std::size_t stop = std::min(TextCrLfLength(), start + std::min(length, TextCrLfLength()));
  for (std::size_t line = LineOfOffset(start); line < line_count_ && LineStart(line) < stop; ++line) {
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

namespace haruvi::viewer {

std::string_view FirstLineEnd(std::string_view bytes) {
  const std::size_t at = bytes.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (bytes[at] == '\n') return "\n";
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? std::string_view("\r\n") : std::string_view("\r");
}

std::string WithLineEnds(std::string_view crlf_text, std::string_view line_end) {
  if (line_end == "\r\n") return std::string(crlf_text);
  std::string out;
  out.reserve(crlf_text.size());
  for (std::size_t pos = 0;;) {
    const std::size_t at = crlf_text.find("\r\n", pos);
    if (at == std::string_view::npos) {
      out.append(crlf_text.substr(pos));
      return out;
    }
    out.append(crlf_text.substr(pos, at - pos));
    out.append(line_end);
    pos = at + 2;
  }
}

}  // namespace haruvi::viewer
