#include "textcmd/html_strip.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace haruvi::textcmd {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  std::transform(u.begin(), u.end(), u.begin(), Upper);
  return u;
}

constexpr std::size_t npos = std::string::npos;

// The text gathered from the input lines and not yet output, kept as `clean` + the
// unread part of `rest_`. `clean` never holds "<" or ">": text before a deleted tag moves
// there, so the search for the next tag only reads each byte a bounded number of times.
// The first "<", ">", "<!--" and "-->" at or after a remembered mark are searched anew
// only past the mark, so lines appended to a long open tag or comment cost their own length.
class Accumulator {
 public:
  void Append(std::string_view line) { rest_.append(line); }

  bool Empty() const { return clean_.empty() && head_ == rest_.size(); }

  // One comment "<!-- ... -->" per call; `clean` cannot hold either mark.
  void DeleteComment() {
    std::size_t open = Find("<!--", open_mark_);
    if (open == npos) return;
    close_mark_ = std::max(close_mark_, open);
    std::size_t close = Find("-->", close_mark_);
    if (close == npos) return;
    rest_.erase(open, close + 3 - open);
    ResetMarks(open);
  }

  // The first "<" and ">" of the accumulator, or npos.
  std::size_t FirstLt() { return Find("<", lt_mark_); }
  std::size_t FirstGt() { return Find(">", gt_mark_); }

  // ">" before any "<": everything up to and including it goes.
  void DropThrough(std::size_t gt) {
    clean_.clear();
    Advance(gt + 1);
  }
  // The text before "<" stays, the tag goes.
  void DeleteTag(std::size_t lt, std::size_t gt) {
    clean_.append(rest_, head_, lt - head_);
    Advance(gt + 1);
  }
  // The text before "<" is output; `prefix` starts the new accumulator.
  void BreakAt(std::size_t lt, std::size_t gt, std::string_view prefix, std::string& out) {
    out.append(clean_);
    out.append(rest_, head_, lt - head_);
    out.append("\r\n");
    clean_.assign(prefix);
    Advance(gt + 1);
  }
  // Everything as one output line.
  void Flush(std::string& out) {
    out.append(clean_);
    out.append(rest_, head_, rest_.size() - head_);
    out.append("\r\n");
    clean_.clear();
    Advance(rest_.size());
  }
  std::string_view Between(std::size_t lt, std::size_t gt) const {
    return std::string_view(rest_).substr(lt + 1, gt - lt - 1);
  }

 private:
  std::size_t Find(std::string_view what, std::size_t& mark) {
    std::size_t from = std::max(mark, head_);
    std::size_t at = rest_.find(what, from);
    // Not found: a later search starts where a match could still begin.
    mark = at != npos ? at : std::max(from, rest_.size() - std::min(rest_.size(), what.size() - 1));
    return at;
  }
  void Advance(std::size_t to) {
    head_ = to;
    // Keep the buffer from growing without end: drop the read part once it dominates.
    if (head_ > 4096 && head_ * 2 > rest_.size()) {
      rest_.erase(0, head_);
      for (std::size_t* m : {&lt_mark_, &gt_mark_, &open_mark_, &close_mark_})
        *m = *m > head_ ? *m - head_ : 0;
      head_ = 0;
    }
  }
  void ResetMarks(std::size_t at) {
    for (std::size_t* m : {&lt_mark_, &gt_mark_, &open_mark_, &close_mark_}) *m = std::min(*m, at);
  }

  std::string clean_;
  std::string rest_;
  std::size_t head_ = 0;
  std::size_t lt_mark_ = 0, gt_mark_ = 0, open_mark_ = 0, close_mark_ = 0;
};

// In place: every replacement is shorter than its entity, so the text is rewritten from
// the front without a second copy of it.
void ReplaceNoCase(std::string& text, std::string_view entity, std::string_view with) {
  std::size_t write = 0, copied = 0, pos = 0;
  bool any = false;
  while ((pos = text.find('&', pos)) != npos) {
    if (text.size() - pos >= entity.size() &&
        std::equal(entity.begin(), entity.end(), text.begin() + static_cast<std::ptrdiff_t>(pos),
                   [](char e, char t) { return e == Upper(t); })) {
      any = true;
      std::memmove(text.data() + write, text.data() + copied, pos - copied);
      write += pos - copied;
      std::memcpy(text.data() + write, with.data(), with.size());
      write += with.size();
      pos += entity.size();
      copied = pos;
    } else {
      ++pos;
    }
  }
  if (!any) return;
  std::memmove(text.data() + write, text.data() + copied, text.size() - copied);
  text.resize(write + text.size() - copied);
}

}  // namespace

bool IsLineBreakingTag(std::string_view tag) {
  static constexpr std::array<std::string_view, 13> kExact = {
      "BR", "P", "/P", "/TR", "/TD", "LI", "/DL", "OL", "/BLOCKQUOTE", "/TITLE", "/ADDRESS", "FN", "/CENTER"};
  std::string u = UpperAscii(tag);
  if (std::find(kExact.begin(), kExact.end(), u) != kExact.end()) return true;
  return u.starts_with("/H") || u.starts_with("HR");
}

bool DecodeEntities(std::string& text, const CancelCheck& cancelled) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kEntities = {{
      {"&LT;", "<"}, {"&GT;", ">"}, {"&AMP;", "&"}, {"&QUOT;", "\""},
      {"&REG;", "(R)"}, {"&COPY;", "(C)"}, {"&NBSP;", " "}}};
  for (auto [entity, with] : kEntities) {
    if (cancelled && cancelled()) return false;
    ReplaceNoCase(text, entity, with);
  }
  return true;
}

HtmlResult StripHtml(LineSpan lines, const CancelCheck& cancelled) {
  HtmlResult result;
  std::string& out = result.text;
  // The result is hardly ever longer than the lines with their ends: room for it once
  // (pages not written cost nothing) saves copying it as it grows.
  std::size_t size = 64;
  for (std::string_view line : lines) size += line.size() + 2;
  out.reserve(size);
  Accumulator acc;
  bool pre = false;
  for (std::string_view line : lines) {
    if (cancelled && cancelled()) {
      result.cancelled = true;
      break;
    }
    acc.Append(line);
    acc.DeleteComment();
    for (;;) {
      std::size_t lt = acc.FirstLt();
      if (lt == npos) break;
      std::size_t gt = acc.FirstGt();
      if (gt == npos) break;
      if (gt < lt) {
        acc.DropThrough(gt);
        continue;
      }
      std::string tag = UpperAscii(acc.Between(lt, gt));
      if (tag == "PRE") pre = true;
      if (tag == "/PRE") pre = false;
      if (IsLineBreakingTag(tag)) {
        std::string_view prefix;
        if (tag == "LI") prefix = kListItemMark;
        else if (tag == "OL") prefix = "#.";
        else if (tag.starts_with("HR"))
          prefix = "------------------------------------------------------------\r\n";
        acc.BreakAt(lt, gt, prefix, out);
      } else {
        acc.DeleteTag(lt, gt);
      }
    }
    if (pre) acc.Flush(out);
  }
  if (!acc.Empty()) acc.Flush(out);

  if (!result.cancelled) {
    result.cancelled = !DecodeEntities(out, cancelled);
  }
  if (!result.cancelled) {
    // The first line usually holds the title: an empty line sets it apart. An empty
    // result has no first line to follow.
    std::size_t first_end = out.find("\r\n");
    if (first_end != npos) out.insert(first_end + 2, "\r\n");
  } else {
    out.append(kCancelledLine);
    out.append("\r\n");
  }
  return result;
}

}  // namespace haruvi::textcmd
