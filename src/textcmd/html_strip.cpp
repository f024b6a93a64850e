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

// The text gathered from the input lines and not yet output: a clean part that never
// holds "<" or ">" (text before deleted tags), written at the end of `out` already and
// taken back when a ">" before any "<" drops it, and the unread part of the lines. Lines
// are read where they lie in the input and copied only when a tag or comment goes on
// into the next line or a comment is cut out, so a long line costs no copy of itself.
// The first "<", ">", "<!--" and "-->" at or after a remembered mark are searched anew
// only past the mark, so lines appended to a long open tag or comment cost their own length.
class Accumulator {
 public:
  explicit Accumulator(std::string& out) : out_(out), clean_start_(out.size()) {}

  void Append(std::string_view line) {
    if (head_ == Text().size()) {  // nothing unread: read the line in place
      own_.clear();
      owned_ = false;
      line_ = line;
      head_ = 0;
      lt_mark_ = gt_mark_ = open_mark_ = close_mark_ = 0;
      return;
    }
    Own();
    own_.append(line);
  }

  bool Empty() const { return out_.size() == clean_start_ && head_ == Text().size(); }

  // One comment "<!-- ... -->" per call; the clean part cannot hold either mark.
  void DeleteComment() {
    std::size_t open = Find("<!--", open_mark_);
    if (open == npos) return;
    close_mark_ = std::max(close_mark_, open);
    std::size_t close = Find("-->", close_mark_);
    if (close == npos) return;
    const std::size_t shift = Own();
    own_.erase(open - shift, close + 3 - open);
    ResetMarks(open - shift);
  }

  // The first "<" and ">" of the unread part, or npos.
  std::size_t FirstLt() { return Find("<", lt_mark_); }
  std::size_t FirstGt() { return Find(">", gt_mark_); }

  // ">" before any "<": everything up to and including it goes, the clean part too.
  void DropThrough(std::size_t gt) {
    out_.resize(clean_start_);
    Advance(gt + 1);
  }
  // The text before "<" stays, the tag goes.
  void DeleteTag(std::size_t lt, std::size_t gt) {
    out_.append(Text().substr(head_, lt - head_));
    Advance(gt + 1);
  }
  // The text before "<" ends an output line; `prefix` starts the new clean part.
  void BreakAt(std::size_t lt, std::size_t gt, std::string_view prefix) {
    out_.append(Text().substr(head_, lt - head_));
    out_.append("\r\n");
    clean_start_ = out_.size();
    out_.append(prefix);
    Advance(gt + 1);
  }
  // Everything as one output line.
  void Flush() {
    out_.append(Text().substr(head_));
    out_.append("\r\n");
    clean_start_ = out_.size();
    Advance(Text().size());
  }
  std::string_view Between(std::size_t lt, std::size_t gt) const { return Text().substr(lt + 1, gt - lt - 1); }

 private:
  std::string_view Text() const { return owned_ ? std::string_view(own_) : line_; }
  // The unread part moves into own storage (positions shift down by the returned count).
  std::size_t Own() {
    if (owned_) return 0;
    const std::size_t shift = head_;
    own_.assign(line_.substr(head_));
    owned_ = true;
    for (std::size_t* m : {&lt_mark_, &gt_mark_, &open_mark_, &close_mark_}) *m = *m > shift ? *m - shift : 0;
    head_ = 0;
    return shift;
  }
  std::size_t Find(std::string_view what, std::size_t& mark) {
    const std::string_view text = Text();
    std::size_t from = std::max(mark, head_);
    std::size_t at = text.find(what, from);
    // Not found: a later search starts where a match could still begin.
    mark = at != npos ? at : std::max(from, text.size() - std::min(text.size(), what.size() - 1));
    return at;
  }
  void Advance(std::size_t to) {
    head_ = to;
    // Keep the buffer from growing without end: drop the read part once it dominates.
    if (owned_ && head_ > 4096 && head_ * 2 > own_.size()) {
      own_.erase(0, head_);
      for (std::size_t* m : {&lt_mark_, &gt_mark_, &open_mark_, &close_mark_})
        *m = *m > head_ ? *m - head_ : 0;
      head_ = 0;
    }
  }
  void ResetMarks(std::size_t at) {
    for (std::size_t* m : {&lt_mark_, &gt_mark_, &open_mark_, &close_mark_}) *m = std::min(*m, at);
  }

  std::string& out_;
  std::size_t clean_start_;  // where the clean part begins in out_
  std::string_view line_;    // the unread part lies here (from head_) ...
  std::string own_;          // ... or here, when owned_
  bool owned_ = false;
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
  Accumulator acc(out);
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
        acc.BreakAt(lt, gt, prefix);
      } else {
        acc.DeleteTag(lt, gt);
      }
    }
    if (pre) acc.Flush();
  }
  if (!acc.Empty()) acc.Flush();

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
