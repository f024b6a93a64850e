// The text pane's model while it is being edited: the loaded bytes stay where they were
// read and edits are kept as pieces of them and of an append-only buffer, so entering
// edit mode on a 100 MB text and each keystroke cost no copy of the text.
//
// The text starts as the original's CR LF text (what the pane's offsets count), so
// every offset is an offset into Bytes(). Lines follow the viewer's rule on the edited
// bytes: CR LF, a lone CR and a lone LF each end a line; a final line end makes no
// extra empty line. An edit that splits or joins a CR LF pair changes the lines the way
// the same edit on a string would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/line_source.h"
#include "viewer/text_document.h"

namespace haruvi::viewer {

class EditDocument;

// The edit model as the editing view sees it: after a final line end there is one more,
// empty line, where the caret stands after Enter at the end (the text's own lines, which
// commands and counts use, end with the line end).
class EditingLines final : public LineSource {
 public:
  explicit EditingLines(const EditDocument& doc) : doc_(doc) {}
  std::size_t LineCount() const override;
  std::string_view Line(std::size_t line) const override;
  std::size_t LineStart(std::size_t line) const override;
  std::size_t LineOfOffset(std::size_t offset) const override;
  std::size_t TextCrLfLength() const override;
  std::size_t MaxLineLength() const override;
  std::string SliceCrLf(std::size_t start, std::size_t length) const override;

 private:
  bool Extra() const;  // the text ends with a line end
  const EditDocument& doc_;
};

class EditDocument final : public LineSource {
 public:
  EditDocument();
  // Takes over the shown document: its buffer is not copied and stays in place.
  // `line_end` is what the edited text is written back with (see LineEnd).
  explicit EditDocument(TextDocument original, std::string_view line_end = "\r\n");
  EditDocument(const EditDocument&) = delete;
  EditDocument& operator=(const EditDocument&) = delete;

  // Edits at offsets into the text; offsets and lengths past the end are clamped.
  void Insert(std::size_t offset, std::string_view bytes);
  void Erase(std::size_t offset, std::size_t length);
  void Replace(std::size_t offset, std::size_t length, std::string_view bytes);
  // A replacement that also makes `line_end` the text's line end (a line-end command's
  // result): one edit, so undo brings back the text and its line end together.
  void ReplaceWithLineEnd(std::size_t offset, std::size_t length, std::string_view bytes, std::string_view line_end);
  // The line end the text is saved with: "\r\n", "\n" or "\r" (the text itself holds
  // CR LF, so typing and commands never mix kinds).
  std::string_view LineEnd() const { return line_end_; }

  std::size_t LineCount() const override;
  // A line without its line end (empty past the last line): a view into the bytes when
  // the line lies in one piece, else assembled into one of 64 slots used in turn.
  std::string_view Line(std::size_t line) const override;
  // Where a line starts (the text's length past the last line), and which line holds
  // an offset (offsets past the end belong to the last line).
  std::size_t LineStart(std::size_t line) const override;
  std::size_t LineOfOffset(std::size_t offset) const override;
  // Part of the text, and its whole length (named as the shown document's: the text is
  // CR LF text as long as what is inserted uses CR LF).
  std::string SliceCrLf(std::size_t start, std::size_t length) const override;
  std::size_t TextCrLfLength() const override;
  // The whole edited text, built on demand (for saving). An original's lone CR or LF
  // comes out as CR LF: this is the pane's Text(), whose offsets the caller edits at.
  std::string Bytes() const;
  // Exact until the first edit; after it an upper bound: the longest of the original's
  // lines and of every line an edit touched, measured with its line end when it was
  // touched (a line that shrinks later is still counted at its longest). Exact would
  // need every line kept measured; the pane only sizes its horizontal scroll from it.
  std::size_t MaxLineLength() const override;

  // Undo groups: edits between BeginGroup and EndGroup undo as one (typing merges
  // consecutive characters by keeping one group open). An edit outside a group is its
  // own group. Undo and Redo close an open group first and return the caret offset to
  // restore: the end of what the group's first (undo) or last (redo) edit leaves there;
  // SIZE_MAX when there is nothing to do.
  void BeginGroup();
  void EndGroup();
  bool CanUndo() const { return undo_.size() > (group_open_ && undo_.back().empty() ? 1u : 0u); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t Undo();
  std::size_t Redo();

  // The text's last byte (0 when it is empty).
  char LastByte() const;

  // True while the text is the original's (no edit, or every edit undone).
  bool AtOriginal() const { return undo_.empty() || (undo_.size() == 1 && undo_.back().empty()); }

  // The document as it was taken over, before any edit; and taking it back (the edit
  // model is empty afterwards).
  const TextDocument& Original() const { return original_; }
  TextDocument TakeOriginal();

 private:
  // A span of one buffer: 0 the original bytes, 1 the append buffer.
  struct Node {
    std::uint32_t left = 0, right = 0;  // 0 is no node
    std::uint32_t priority = 0;
    std::uint8_t buffer = 0;
    std::size_t start = 0, length = 0;
    std::size_t inner = 0;  // line ends in the span, not counting a CR as its last byte
    // Over the subtree: length, line ends (a CR before a piece boundary counted only when
    // the next piece does not start with LF, and never a CR as the subtree's last byte),
    // first and last byte.
    std::size_t sum_length = 0, sum_ends = 0;
    char first = 0, last = 0;
  };
  // One edit as it is to be applied: at `offset`, take out `length` bytes and put the
  // subtree `pieces` in. Applying it gives its inverse (the pieces taken out, kept whole),
  // so undo and redo swap subtrees back and forth without copying bytes.
  struct Edit {
    std::size_t offset = 0, length = 0;
    std::uint32_t pieces = 0;
    std::string_view line_end;  // the line end it sets (a static string), empty: kept
  };

  std::string_view Buf(int which) const { return which == 0 ? original_bytes_ : std::string_view(added_); }
  const std::vector<std::size_t>& Ends(int which) const { return which == 0 ? original_ends_ : added_ends_; }
  std::size_t EndsIn(int which, std::size_t from, std::size_t to) const;
  std::uint32_t NewNode(int buffer, std::size_t start, std::size_t length);
  void Update(std::uint32_t n);
  std::uint32_t Merge(std::uint32_t a, std::uint32_t b);
  void Split(std::uint32_t n, std::size_t offset, std::uint32_t* a, std::uint32_t* b);
  std::uint32_t BuildBalanced(const std::vector<std::uint32_t>& nodes);
  std::uint32_t Append(std::string_view bytes);
  Edit Swap(const Edit& edit);
  // Undoes (or redoes) the last group of `from` and files its inverse in `to`.
  std::size_t Revert(std::vector<std::vector<Edit>>* from, std::vector<std::vector<Edit>>* to);
  // Line ends at positions before `offset`, and the position of line end number k.
  std::size_t EndsBefore(std::size_t offset) const;
  std::size_t EndPosition(std::size_t k) const;
  std::size_t TotalEnds() const;
  // The bytes at [start, start + length) when one piece holds them all.
  bool Contiguous(std::size_t start, std::size_t length, std::string_view* out) const;
  void ForgetLines() const;
  void CollectInto(std::uint32_t n, std::size_t from, std::size_t to, std::size_t base,
                   std::string* out) const;

  TextDocument original_;
  std::string_view original_bytes_;
  std::vector<std::size_t> original_ends_;  // LF, and CR not followed by LF, in the original
  std::string added_;
  std::vector<std::size_t> added_ends_;
  std::string_view line_end_;
  // nodes_[0] is the empty node. A deque, so that growing it never moves millions of
  // pieces at once in the middle of a keystroke.
  std::deque<Node> nodes_;
  std::vector<std::uint32_t> free_;  // nodes of pieces no tree holds any more
  std::uint32_t root_ = 0;
  std::uint32_t seed_ = 2463534242u;
  std::size_t longest_ = 0;
  std::vector<std::vector<Edit>> undo_, redo_;
  bool group_open_ = false;
  struct AssembledLine {
    std::size_t line = SIZE_MAX;
    std::string text;
  };
  mutable AssembledLine assembled_[64];
  mutable std::size_t next_slot_ = 0;
};

}  // namespace haruvi::viewer
