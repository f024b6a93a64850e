#include "textcmd/lines.h"

#include "encoding/line_scan.h"
#include "textcmd/sjis.h"

namespace haruvi::textcmd {

ByteKind ByteKindAt(std::string_view s, std::size_t pos) {
  std::size_t i = 0;
  while (i < pos) {
    std::size_t n = CharLength(s, i);
    if (i + n > pos) return ByteKind::kTrail;
    i += n;
  }
  return CharLength(s, pos) == 2 ? ByteKind::kLead : ByteKind::kSingle;
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
  for (encoding::LineCursor c(text); !c.AtEnd(); c.Advance()) {
    if (count_ % kMarkEvery == 0) marks_.push_back(c.Start());
    ++count_;
  }
}

std::string_view LineIndex::operator[](std::size_t i) const {
  encoding::LineCursor c(text_, marks_[i / kMarkEvery]);
  for (std::size_t k = i % kMarkEvery; k > 0; --k) c.Advance();
  return c.Line();
}

void Lines::EndLine() {
  if (count_ % kMarkEvery == 0) marks_.push_back({line_start_, lengths_.size()});
  std::size_t n = bytes_.size() - line_start_;
  while (n >= 0x80) {
    lengths_.push_back(static_cast<char>(0x80 | (n & 0x7F)));
    n >>= 7;
  }
  lengths_.push_back(static_cast<char>(n));
  line_start_ = bytes_.size();
  ++count_;
}

std::size_t Lines::ReadLength(std::size_t* at) const {
  std::size_t n = 0;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(lengths_[(*at)++]);
    n |= static_cast<std::size_t>(b & 0x7F) << shift;
    if (b < 0x80) return n;
  }
}

std::string_view Lines::operator[](std::size_t i) const {
  const Mark& m = marks_[i / kMarkEvery];
  std::size_t at = m.length, byte = m.byte;
  for (std::size_t k = i % kMarkEvery; k > 0; --k) byte += ReadLength(&at);
  return std::string_view(bytes_).substr(byte, ReadLength(&at));
}

std::vector<std::string_view> Lines::Views() const {
  std::vector<std::string_view> out;
  out.reserve(size());
  ForEach([&](std::string_view l) {
    out.push_back(l);
    return true;
  });
  return out;
}

std::string Lines::Joined(std::string_view eol) const {
  std::string out;
  out.reserve(bytes_.size() + count_ * eol.size());
  ForEach([&](std::string_view l) {
    out.append(l).append(eol);
    return true;
  });
  return out;
}

KeptLines::KeptLines(LineSpan from, const std::vector<bool>& keep) {
  for (bool k : keep) count_ += k ? 1 : 0;
  if (const LineIndex* index = from.Index(); index && count_ > 0) {
    text_ = index->Text();
    keep_ = keep;
    return;
  }
  views_.reserve(count_);
  std::size_t i = 0;
  for (std::string_view l : from)
    if (keep[i++]) views_.push_back(l);
}

std::vector<std::string_view> KeptLines::Views() const {
  std::vector<std::string_view> out;
  out.reserve(count_);
  ForEach([&](std::string_view l) {
    out.push_back(l);
    return true;
  });
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  return encoding::SplitLines(encoding::UpToFirstNul(text));
}

std::string JoinLines(LineSpan lines) {
  std::size_t total = 0;
  for (auto l : lines) total += l.size() + 2;
  std::string out;
  out.reserve(total);
  for (auto l : lines) {
    out.append(l);
    out.append("\r\n");
  }
  return out;
}

}  // namespace haruvi::textcmd
