#include "textcmd/lines.h"

#include <cstring>

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
  if (const void* nul = std::memchr(text.data(), '\0', text.size()))
    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  std::vector<std::string_view> lines;
  // A rough guess at the line count saves most of the regrowth on big texts.
  lines.reserve(text.size() / 64 + 1);
  const char* p = text.data();
  const char* end = p + text.size();
  // The next LF is remembered: a text of lone CRs must not be searched to its end per line.
  const char* lf = nullptr;
  bool lf_known = false;
  while (p < end) {
    if (!lf_known || (lf && lf < p)) {
      lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      lf_known = true;
    }
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    if (cr) {
      lines.emplace_back(p, static_cast<std::size_t>(cr - p));
      p = cr + 1;
      if (p == lf) ++p;  // CR LF
    } else if (lf) {
      lines.emplace_back(p, static_cast<std::size_t>(lf - p));
      p = lf + 1;
    } else {
      lines.emplace_back(p, static_cast<std::size_t>(end - p));
      p = end;
    }
  }
  return lines;
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
