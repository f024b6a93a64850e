#include "viewer/text_document.h"

#include <algorithm>

#include "encoding/line_scan.h"

namespace haruvi::viewer {

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
  std::size_t crlf = 0;
  for (encoding::LineCursor c(bytes_); !c.AtEnd(); c.Advance()) {
    if (line_count_ % kMarkEvery == 0) marks_.push_back({c.Start(), crlf});
    if (c.EndLength() == 1) all_crlf_ = false;
    max_line_length_ = std::max(max_line_length_, c.End() - c.Start());
    crlf += c.End() - c.Start() + (c.EndLength() ? 2 : 0);
    ++line_count_;
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
  for (encoding::LineCursor c(bytes_, f.start);; c.Advance(), ++at) {
    if (at == line) {
      f.start = c.Start();
      f.end = c.End();
      f.next = c.Next();
      break;
    }
    f.crlf += c.End() - c.Start() + (c.EndLength() ? 2 : 0);
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
  for (encoding::LineCursor c(bytes_); !c.AtEnd(); c.Advance()) {
    text.append(c.Line());
    if (c.EndLength()) text += "\r\n";
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
  const Mark& mark = *(it - 1);
  std::size_t line = static_cast<std::size_t>(it - marks_.begin() - 1) * kMarkEvery;
  std::size_t crlf = mark.crlf;
  for (encoding::LineCursor c(bytes_, mark.byte); line + 1 < line_count_; c.Advance(), ++line) {
    crlf += c.End() - c.Start() + (c.EndLength() ? 2 : 0);  // where the next line starts
    if (crlf > offset) break;
  }
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
  if (start >= stop) return out;
  const std::size_t first = LineOfOffset(start);
  std::size_t from = LineStart(first);  // where the cursor's line starts in TextCrLf()
  for (encoding::LineCursor c(bytes_, Find(first).start); !c.AtEnd() && from < stop; c.Advance()) {
    const std::size_t span = c.End() - c.Start() + (c.EndLength() ? 2 : 0);
    // [a, b) of the line's text followed by its CR LF.
    const std::size_t a = start > from ? start - from : 0;
    const std::size_t b = std::min(span, stop - from);
    const std::string_view text = c.Line();
    if (a < std::min(b, text.size())) out.append(text.substr(a, std::min(b, text.size()) - a));
    if (b > std::max(a, text.size())) {
      const std::size_t at = std::max(a, text.size());
      out.append(std::string_view("\r\n").substr(at - text.size(), b - at));
    }
    from += span;
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

std::string WithCrLfEnds(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 32);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      out.push_back(c);
      continue;
    }
    out.append("\r\n");
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  return out;
}

}  // namespace haruvi::viewer
