// The line rule's walk. Each line end is the nearer of the next CR and the next LF; both
// are found with memchr and kept until the walk passes them, so a text of lone CRs is not
// searched to its end for an LF on every line (which made opening one quadratic).
#include "encoding/line_scan.h"

#include <algorithm>
#include <cstring>

namespace haruvi::encoding {
namespace {

// How far ahead a line end is first looked for, and the most it grows to while the
// text lacks one kind: small enough that a line found from a random start costs little
// more than its length, large enough that the missing kind costs few calls.
constexpr std::size_t kFirstWindow = 256;
constexpr std::size_t kMaxWindow = 64 * 1024;

}  // namespace

LineCursor::LineCursor(std::string_view text, std::size_t start)
    : text_(text), start_(std::min(start, text.size())), window_(kFirstWindow) {
  clear_lf_ = clear_cr_ = start_;
  Locate();
}

void LineCursor::Advance() {
  start_ = next_;
  Locate();
}

void LineCursor::Extend(char byte, std::size_t* clear, std::size_t limit) {
  const char* from = text_.data() + *clear;
  const void* hit = std::memchr(from, byte, limit - *clear);
  if (hit) {
    *clear = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
  } else {
    *clear = limit;
    window_ = std::min(window_ * 2, kMaxWindow);
  }
}

void LineCursor::Locate() {
  const std::size_t n = text_.size();
  if (start_ >= n) {
    start_ = end_ = next_ = n;
    return;
  }
  // A remembered CR or LF before the line start was this walk's and is used up.
  clear_lf_ = std::max(clear_lf_, start_);
  clear_cr_ = std::max(clear_cr_, start_);
  for (;;) {
    // Neither kind stands before `m`, so the line ends at `m` when either stands there.
    const std::size_t m = std::min(clear_lf_, clear_cr_);
    if (m >= n) {
      end_ = next_ = n;
      return;
    }
    if (text_[m] == '\n') {
      end_ = m;
      next_ = m + 1;
      return;
    }
    if (text_[m] == '\r') {
      end_ = m;
      next_ = m + 1 < n && text_[m + 1] == '\n' ? m + 2 : m + 1;
      return;
    }
    // Look further for the kind known least far. Searching on to where the other kind
    // is known costs nothing extra: that stretch must be searched before the line ends.
    std::size_t* clear = clear_lf_ == m ? &clear_lf_ : &clear_cr_;
    const std::size_t other = clear == &clear_lf_ ? clear_cr_ : clear_lf_;
    Extend(clear == &clear_lf_ ? '\n' : '\r', clear, std::min(n, std::max(m + window_, other)));
  }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  // A rough guess at the line count saves most of the regrowth on big texts.
  lines.reserve(text.size() / 64 + 1);
  for (LineCursor c(text); !c.AtEnd(); c.Advance()) lines.push_back(c.Line());
  return lines;
}

std::string_view UpToFirstNul(std::string_view text) {
  if (text.empty()) return text;
  const void* nul = std::memchr(text.data(), '\0', text.size());
  return nul ? text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data())) : text;
}

}  // namespace haruvi::encoding
