// The edit model's piece tree: a treap of spans of the original bytes and of the append
// buffer, each subtree carrying its length and line-end count so that offset and line
// lookups descend it in O(log n). Undo keeps whole subtrees, never copies of bytes.
#include "viewer/edit_document.h"

#include <algorithm>
#include <iterator>

#include "encoding/line_scan.h"

namespace haruvi::viewer {
namespace {
// The two bytes every lone line end of the original is shown as.
constexpr std::string_view kCrLf = "\r\n";

// One of the three kinds, as a string that outlives every edit record.
std::string_view KnownLineEnd(std::string_view line_end) {
  if (line_end == "\n") return "\n";
  if (line_end == "\r") return "\r";
  return kCrLf;
}
}  // namespace

EditDocument::EditDocument() : EditDocument(TextDocument()) {}

EditDocument::EditDocument(TextDocument original, std::string_view line_end)
    : original_(std::move(original)), line_end_(KnownLineEnd(line_end)) {
  original_bytes_ = original_.Bytes();
  nodes_.emplace_back();  // the empty node
  added_ = kCrLf;
  added_ends_ = {1};
  // The positions of the original's line ends, by the line rule the shown document
  // indexes with; lone CR and LF become pieces of "\r\n" so that the text is the CR LF
  // text the pane's offsets count.
  std::vector<std::uint32_t> pieces;
  std::size_t segment = 0;
  original_ends_.reserve(original_.LineCount());
  for (encoding::LineCursor c(original_bytes_); !c.AtEnd(); c.Advance()) {
    const std::size_t end = c.End();
    if (c.EndLength() == 2) original_ends_.push_back(end + 1);
    if (c.EndLength() != 1) continue;
    original_ends_.push_back(end);
    if (end > segment) pieces.push_back(NewNode(0, segment, end - segment));
    pieces.push_back(NewNode(1, 0, 2));
    segment = end + 1;
  }
  if (segment < original_bytes_.size()) pieces.push_back(NewNode(0, segment, original_bytes_.size() - segment));
  root_ = BuildBalanced(pieces);
  longest_ = original_.MaxLineLength();
}

std::size_t EditDocument::EndsIn(int which, std::size_t from, std::size_t to) const {
  if (to <= from) return 0;
  const std::vector<std::size_t>& ends = Ends(which);
  return static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), to) -
                                  std::lower_bound(ends.begin(), ends.end(), from));
}

std::uint32_t EditDocument::NewNode(int buffer, std::size_t start, std::size_t length) {
  Node n;
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  n.priority = seed_;
  n.buffer = static_cast<std::uint8_t>(buffer);
  n.start = start;
  n.length = length;
  std::uint32_t id;
  if (free_.empty()) {
    nodes_.push_back(n);
    id = static_cast<std::uint32_t>(nodes_.size() - 1);
  } else {
    id = free_.back();
    free_.pop_back();
    nodes_[id] = n;
  }
  Update(id);
  return id;
}

void EditDocument::Update(std::uint32_t id) {
  Node& n = nodes_[id];
  const std::string_view buf = Buf(n.buffer);
  const char first = buf[n.start], last = buf[n.start + n.length - 1];
  // A CR as the span's last byte is left to the boundary rule: it pairs with an LF
  // starting the next piece.
  n.inner = EndsIn(n.buffer, n.start, n.start + n.length - 1) + (last == '\n' ? 1 : 0);
  std::size_t length = n.length, ends = n.inner;
  n.first = first;
  n.last = last;
  if (n.left) {
    const Node& l = nodes_[n.left];
    length += l.sum_length;
    ends += l.sum_ends + (l.last == '\r' && first != '\n' ? 1 : 0);
    n.first = l.first;
  }
  if (n.right) {
    const Node& r = nodes_[n.right];
    length += r.sum_length;
    ends += r.sum_ends + (last == '\r' && r.first != '\n' ? 1 : 0);
    n.last = r.last;
  }
  n.sum_length = length;
  n.sum_ends = ends;
}

std::uint32_t EditDocument::Merge(std::uint32_t a, std::uint32_t b) {
  if (!a) return b;
  if (!b) return a;
  if (nodes_[a].priority > nodes_[b].priority) {
    const std::uint32_t right = Merge(nodes_[a].right, b);
    nodes_[a].right = right;
    Update(a);
    return a;
  }
  const std::uint32_t left = Merge(a, nodes_[b].left);
  nodes_[b].left = left;
  Update(b);
  return b;
}

void EditDocument::Split(std::uint32_t id, std::size_t offset, std::uint32_t* a, std::uint32_t* b) {
  if (!id) {
    *a = *b = 0;
    return;
  }
  const std::size_t left_length = nodes_[id].left ? nodes_[nodes_[id].left].sum_length : 0;
  const std::size_t length = nodes_[id].length;
  if (offset <= left_length) {
    std::uint32_t rest;
    Split(nodes_[id].left, offset, a, &rest);
    nodes_[id].left = rest;
    Update(id);
    *b = id;
  } else if (offset >= left_length + length) {
    std::uint32_t rest;
    Split(nodes_[id].right, offset - left_length - length, &rest, b);
    nodes_[id].right = rest;
    Update(id);
    *a = id;
  } else {
    // The offset falls inside this piece: it keeps the head, a new piece the tail.
    const std::size_t head = offset - left_length;
    const std::uint32_t right = nodes_[id].right;
    const std::uint32_t tail = NewNode(nodes_[id].buffer, nodes_[id].start + head, length - head);
    nodes_[id].length = head;
    nodes_[id].right = 0;
    Update(id);
    *a = id;
    *b = Merge(tail, right);
  }
}

std::uint32_t EditDocument::BuildBalanced(const std::vector<std::uint32_t>& ids) {
  // The treap of pieces in order in one pass (the Cartesian tree of their priorities).
  std::vector<std::uint32_t> spine;
  for (std::uint32_t id : ids) {
    std::uint32_t last = 0;
    while (!spine.empty() && nodes_[spine.back()].priority < nodes_[id].priority) {
      last = spine.back();
      spine.pop_back();
    }
    nodes_[id].left = last;
    if (!spine.empty()) nodes_[spine.back()].right = id;
    spine.push_back(id);
  }
  if (spine.empty()) return 0;
  // Sums bottom-up, children before parents, without recursion.
  std::vector<std::pair<std::uint32_t, bool>> stack{{spine.front(), false}};
  while (!stack.empty()) {
    auto [id, done] = stack.back();
    stack.pop_back();
    if (done) {
      Update(id);
      continue;
    }
    stack.push_back({id, true});
    if (nodes_[id].left) stack.push_back({nodes_[id].left, false});
    if (nodes_[id].right) stack.push_back({nodes_[id].right, false});
  }
  return spine.front();
}

std::uint32_t EditDocument::Append(std::string_view bytes) {
  const std::size_t old = added_.size();
  // A CR that ended the buffer is known to be lone only now.
  if (old && added_.back() == '\r' && bytes.front() != '\n') added_ends_.push_back(old - 1);
  added_.append(bytes);
  // A line end is kept at its last byte; a CR ending the buffer waits for the next bytes.
  for (encoding::LineCursor c(added_, old); c.EndLength() > 0; c.Advance()) {
    if (c.EndLength() == 1 && c.Next() == added_.size() && added_.back() == '\r') break;
    added_ends_.push_back(c.Next() - 1);
  }
  return NewNode(1, old, bytes.size());
}

EditDocument::Edit EditDocument::Swap(const Edit& edit) {
  std::uint32_t head, rest, taken, tail;
  Split(root_, edit.offset, &head, &rest);
  Split(rest, edit.length, &taken, &tail);
  const std::size_t put = edit.pieces ? nodes_[edit.pieces].sum_length : 0;
  root_ = Merge(Merge(head, edit.pieces), tail);
  ForgetLines();
  const std::string_view was = line_end_;
  if (!edit.line_end.empty()) line_end_ = edit.line_end;
  // Only the lines an edit touches change length: the one where it starts, the one where
  // it ends and those wholly inside the bytes put in.
  longest_ = std::max(longest_, put);
  for (std::size_t line : {LineOfOffset(edit.offset), LineOfOffset(edit.offset + put)}) {
    const std::size_t next = line + 1 < LineCount() ? LineStart(line + 1) : TextCrLfLength();
    longest_ = std::max(longest_, next - LineStart(line));
  }
  return Edit{edit.offset, put, taken, edit.line_end.empty() ? std::string_view() : was};
}

void EditDocument::Replace(std::size_t offset, std::size_t length, std::string_view bytes) {
  ReplaceWithLineEnd(offset, length, bytes, {});
}

void EditDocument::ReplaceWithLineEnd(std::size_t offset, std::size_t length, std::string_view bytes,
                                      std::string_view line_end) {
  const std::size_t total = TextCrLfLength();
  offset = std::min(offset, total);
  length = std::min(length, total - offset);
  if (!line_end.empty()) line_end = KnownLineEnd(line_end);
  if (!length && bytes.empty() && (line_end.empty() || line_end == line_end_)) return;
  const std::uint32_t pieces = bytes.empty() ? 0 : Append(bytes);
  const Edit undo = Swap(Edit{offset, length, pieces, line_end});
  // What could be redone is gone for good: its pieces are in no tree but their records'
  // (every node is in exactly one tree), so they are reused.
  for (const std::vector<Edit>& group : redo_) {
    for (const Edit& edit : group) {
      std::vector<std::uint32_t> stack{edit.pieces};
      while (!stack.empty()) {
        const std::uint32_t id = stack.back();
        stack.pop_back();
        if (!id) continue;
        stack.push_back(nodes_[id].left);
        stack.push_back(nodes_[id].right);
        free_.push_back(id);
      }
    }
  }
  redo_.clear();
  if (group_open_) {
    undo_.back().push_back(undo);
  } else {
    undo_.push_back({undo});
  }
}

void EditDocument::Insert(std::size_t offset, std::string_view bytes) { Replace(offset, 0, bytes); }
void EditDocument::Erase(std::size_t offset, std::size_t length) { Replace(offset, length, {}); }

void EditDocument::BeginGroup() {
  if (group_open_) return;
  undo_.emplace_back();
  group_open_ = true;
}

void EditDocument::EndGroup() {
  if (!group_open_) return;
  group_open_ = false;
  if (undo_.back().empty()) undo_.pop_back();
}

std::size_t EditDocument::Revert(std::vector<std::vector<Edit>>* from, std::vector<std::vector<Edit>>* to) {
  EndGroup();
  if (from->empty()) return SIZE_MAX;
  std::vector<Edit> group = std::move(from->back());
  from->pop_back();
  std::vector<Edit> back;
  std::size_t caret = SIZE_MAX;
  // Last edit first. The inverses come out last-first too, which is what the opposite
  // list needs: it is also applied from its end.
  for (auto it = group.rbegin(); it != group.rend(); ++it) {
    const std::size_t put = it->pieces ? nodes_[it->pieces].sum_length : 0;
    caret = it->offset + put;
    back.push_back(Swap(*it));
  }
  to->push_back(std::move(back));
  return caret;
}

std::size_t EditDocument::Undo() { return Revert(&undo_, &redo_); }
std::size_t EditDocument::Redo() { return Revert(&redo_, &undo_); }

std::size_t EditDocument::TextCrLfLength() const { return root_ ? nodes_[root_].sum_length : 0; }

std::size_t EditDocument::TotalEnds() const {
  if (!root_) return 0;
  return nodes_[root_].sum_ends + (nodes_[root_].last == '\r' ? 1 : 0);
}

std::size_t EditDocument::LineCount() const {
  if (!root_) return 0;
  const char last = nodes_[root_].last;
  return TotalEnds() + (last == '\r' || last == '\n' ? 0 : 1);
}

std::size_t EditDocument::EndsBefore(std::size_t offset) const {
  std::size_t count = 0;
  int next = -1;  // the byte after the subtree being looked at, -1 past the end
  for (std::uint32_t id = root_; id;) {
    const Node& n = nodes_[id];
    if (offset >= n.sum_length) {
      count += n.sum_ends + (n.last == '\r' && next != '\n' ? 1 : 0);
      break;
    }
    const std::string_view buf = Buf(n.buffer);
    const char first = buf[n.start], last = buf[n.start + n.length - 1];
    const Node* l = n.left ? &nodes_[n.left] : nullptr;
    const std::size_t left_length = l ? l->sum_length : 0;
    if (offset <= left_length) {
      next = static_cast<unsigned char>(first);
      id = n.left;
      continue;
    }
    if (l) count += l->sum_ends + (l->last == '\r' && first != '\n' ? 1 : 0);
    offset -= left_length;
    if (offset < n.length) {
      count += EndsIn(n.buffer, n.start, n.start + offset);
      break;
    }
    // The whole piece is before the offset and a right subtree holds the rest.
    const Node& r = nodes_[n.right];
    count += n.inner + (last == '\r' && r.first != '\n' ? 1 : 0);
    offset -= n.length;
    id = n.right;
  }
  return count;
}

std::size_t EditDocument::EndPosition(std::size_t k) const {
  std::size_t base = 0;
  int next = -1;
  for (std::uint32_t id = root_; id;) {
    const Node& n = nodes_[id];
    const std::string_view buf = Buf(n.buffer);
    const char first = buf[n.start], last = buf[n.start + n.length - 1];
    if (n.left) {
      const Node& l = nodes_[n.left];
      const std::size_t in_left = l.sum_ends + (l.last == '\r' && first != '\n' ? 1 : 0);
      if (k < in_left) {
        next = static_cast<unsigned char>(first);
        id = n.left;
        continue;
      }
      k -= in_left;
      base += l.sum_length;
    }
    const int after = n.right ? static_cast<unsigned char>(nodes_[n.right].first) : next;
    const std::size_t in_piece = n.inner + (last == '\r' && after != '\n' ? 1 : 0);
    if (k < in_piece) {
      const std::size_t within = EndsIn(n.buffer, n.start, n.start + n.length - 1);
      if (k < within) {
        const std::vector<std::size_t>& ends = Ends(n.buffer);
        const auto at = std::lower_bound(ends.begin(), ends.end(), n.start) + static_cast<std::ptrdiff_t>(k);
        return base + (*at - n.start);
      }
      return base + n.length - 1;  // the piece's last byte, an LF or a lone CR
    }
    k -= in_piece;
    base += n.length;
    id = n.right;
  }
  return TextCrLfLength();
}

std::size_t EditDocument::LineStart(std::size_t line) const {
  if (line >= LineCount()) return TextCrLfLength();
  return line == 0 ? 0 : EndPosition(line - 1) + 1;
}

std::size_t EditDocument::LineOfOffset(std::size_t offset) const {
  const std::size_t lines = LineCount();
  if (lines == 0) return 0;
  return std::min(EndsBefore(std::min(offset, TextCrLfLength())), lines - 1);
}

std::string_view EditDocument::Line(std::size_t line) const {
  if (line >= LineCount()) return {};
  const std::size_t start = LineStart(line);
  std::size_t stop = line + 1 < LineCount() ? LineStart(line + 1) : TextCrLfLength();
  // A line holds no CR or LF but its end (CR LF, a lone CR or a lone LF): drop an LF,
  // then a CR, from the last two bytes before the next line.
  if (stop > start) {
    const std::size_t n = std::min<std::size_t>(2, stop - start);
    const std::string tail = SliceCrLf(stop - n, n);
    std::size_t k = tail.size();
    if (k && tail[k - 1] == '\n') --stop, --k;
    if (k && tail[k - 1] == '\r') --stop;
  }
  std::string_view view;
  if (Contiguous(start, stop - start, &view)) return view;
  for (const AssembledLine& a : assembled_)
    if (a.line == line) return a.text;
  AssembledLine& slot = assembled_[next_slot_++ % std::size(assembled_)];
  slot.line = line;
  slot.text.clear();
  CollectInto(root_, start, stop, 0, &slot.text);
  return slot.text;
}

bool EditDocument::Contiguous(std::size_t start, std::size_t length, std::string_view* out) const {
  if (length == 0) {
    *out = {};
    return true;
  }
  std::size_t base = 0;
  for (std::uint32_t id = root_; id;) {
    const Node& n = nodes_[id];
    const std::size_t left_length = n.left ? nodes_[n.left].sum_length : 0;
    if (start < base + left_length) {
      id = n.left;
      continue;
    }
    const std::size_t at = base + left_length;
    if (start < at + n.length) {
      if (start + length > at + n.length) return false;
      *out = Buf(n.buffer).substr(n.start + (start - at), length);
      return true;
    }
    base = at + n.length;
    id = n.right;
  }
  return false;
}

void EditDocument::ForgetLines() const {
  for (AssembledLine& a : assembled_) a.line = SIZE_MAX;
}

TextDocument EditDocument::TakeOriginal() {
  TextDocument original = std::move(original_);
  original_bytes_ = {};
  original_ends_.clear();
  added_.clear();
  added_ends_.clear();
  nodes_.clear();
  nodes_.emplace_back();
  free_.clear();
  root_ = 0;
  undo_.clear();
  redo_.clear();
  group_open_ = false;
  longest_ = 0;
  ForgetLines();
  return original;
}

void EditDocument::CollectInto(std::uint32_t id, std::size_t from, std::size_t to, std::size_t base,
                               std::string* out) const {
  // In order, skipping subtrees wholly outside [from, to).
  while (id) {
    const Node& n = nodes_[id];
    if (base >= to || base + n.sum_length <= from) return;
    const std::size_t left_length = n.left ? nodes_[n.left].sum_length : 0;
    CollectInto(n.left, from, to, base, out);
    const std::size_t at = base + left_length;
    const std::size_t a = std::max(from, at), b = std::min(to, at + n.length);
    if (a < b) out->append(Buf(n.buffer).substr(n.start + (a - at), b - a));
    base = at + n.length;
    id = n.right;
  }
}

std::string EditDocument::SliceCrLf(std::size_t start, std::size_t length) const {
  std::string out;
  const std::size_t total = TextCrLfLength();
  if (start >= total) return out;
  const std::size_t stop = start + std::min(length, total - start);
  out.reserve(stop - start);
  CollectInto(root_, start, stop, 0, &out);
  return out;
}

std::string EditDocument::Bytes() const { return SliceCrLf(0, TextCrLfLength()); }

std::size_t EditDocument::MaxLineLength() const { return longest_; }

char EditDocument::LastByte() const { return root_ ? nodes_[root_].last : 0; }

bool EditingLines::Extra() const {
  const char last = doc_.LastByte();
  return last == '\n' || last == '\r';
}

std::size_t EditingLines::LineCount() const { return doc_.LineCount() + (Extra() ? 1 : 0); }

std::string_view EditingLines::Line(std::size_t line) const {
  return line < doc_.LineCount() ? doc_.Line(line) : std::string_view();
}

std::size_t EditingLines::LineStart(std::size_t line) const { return doc_.LineStart(line); }

std::size_t EditingLines::LineOfOffset(std::size_t offset) const {
  // The very end, after a final line end, is the extra line.
  if (Extra() && offset >= doc_.TextCrLfLength()) return doc_.LineCount();
  return doc_.LineOfOffset(offset);
}

std::size_t EditingLines::TextCrLfLength() const { return doc_.TextCrLfLength(); }
std::size_t EditingLines::MaxLineLength() const { return doc_.MaxLineLength(); }

std::string EditingLines::SliceCrLf(std::size_t start, std::size_t length) const {
  return doc_.SliceCrLf(start, length);
}

}  // namespace haruvi::viewer
