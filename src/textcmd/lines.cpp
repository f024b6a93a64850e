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

std::vector<std::string_view> Lines::Views() const {
  std::vector<std::string_view> out;
  out.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) out.push_back((*this)[i]);
  return out;
}

std::string Lines::Joined(std::string_view eol) const {
  std::string out;
  out.reserve(bytes_.size() + ends_.size() * eol.size());
  for (std::size_t i = 0; i < size(); ++i) {
    out.append((*this)[i]);
    out.append(eol);
  }
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
