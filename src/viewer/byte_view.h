// The pane's view of a text (the shown document, or the edit model in simple edit):
// paints only the visible lines, decoding each with the pane's codec, draws undecodable
// bytes as hex boxes, and keeps the caret and the selection as byte offsets into the
// text with CR LF. Vertical scrolling is by lines, or with word wrap by pieces of lines
// and their rows, so a line taller than the pane scrolls. With an edit model it also
// takes typing, the input method's text and the editing keys.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPainter>
#include <QTextLayout>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "encoding/pane_codec.h"
#include "viewer/line_source.h"
#include "viewer/wrap_pieces.h"

namespace haruvi::viewer {

class EditDocument;

class ByteView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ByteView(QWidget* parent = nullptr);

  // The document is not owned; call Reset() whenever it changes.
  void SetDocument(const LineSource* document);
  void Reset();
  // The same text in another model (entering or leaving simple edit): caret, selection
  // and scroll position stay.
  void SwapDocument(const LineSource* document);

  // Simple edit: the model that edits go to (not owned; null: read only). It must be
  // the document shown.
  void SetEditable(EditDocument* edit);
  // Edits as the keys make them, at the caret or over the selection. Text is encoded
  // in the code page (any line end becomes CR LF); characters it cannot hold become its
  // substitute and are counted by Substituted. Typing merges into one undo step.
  void InsertText(const QString& text, bool typing = false);
  // Bytes already in the code page (CR LF line ends) in place of the selection.
  void ReplaceSelectionBytes(std::string_view bytes) { ApplyEdit(SelStart(), SelLength(), bytes, false); }
  // The whole text replaced as one edit (a command's result); the caret stays where it
  // was, or at the end when the text got shorter.
  // With a `line_end`, the text's line end changes in the same undo step.
  void ReplaceAllBytes(std::string_view bytes, std::string_view line_end = {});
  void DeleteBackward();
  void DeleteForward();
  void DeleteSelection();
  void CutSelection();
  // The clipboard's text at the caret; returns the characters substituted.
  std::size_t PasteClipboard();
  bool UndoEdit();
  bool RedoEdit();
  void SetCodePage(encoding::CodePage page);
  encoding::CodePage CodePage() const { return page_; }
  void SetWordWrap(bool on);
  bool WordWrap() const { return wrap_; }
  void SetTabStopDistance(qreal pixels);
  void SetTextColor(const QColor& color);

  // The one rule for where the caret and a selection's ends may stand: on a character
  // boundary of the pane's code (a Shift_JIS pair, a UTF-8 sequence) and never between
  // the CR and LF of a line end, after a UTF-8 byte-order mark, within the text. Any
  // offset is moved back to the nearest such place; every way of placing them uses it.
  std::size_t Boundary(std::size_t offset) const;
  // Characters from the start of the offset's line up to it (a tab and an undecodable
  // byte are one each): the caret panel's column, whatever the code.
  std::size_t CharsBefore(std::size_t offset) const;
  // The boundary after the character (or line end) at a boundary.
  std::size_t NextBoundary(std::size_t offset) const;
  std::size_t Caret() const { return caret_; }
  std::size_t SelStart() const { return std::min(anchor_, caret_); }
  std::size_t SelLength() const { return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_; }
  void SetSelection(std::size_t start, std::size_t length);  // caret at the end
  void SelectAll();
  // The selection decoded for the clipboard, and put there (line ends as LF).
  QString SelectedDisplayText() const;
  void CopySelection() const;

  std::size_t FirstVisibleLine() const;
  void ScrollToLine(std::size_t line);
  void ScrollLines(int lines);
  void EnsureCaretVisible();
  // Lines that fit in the viewport (at least 1).
  int VisibleLines() const;

 signals:
  void CaretMoved();
  // The text changed by an edit of the view's own.
  void Edited();
  // Characters just typed or pasted that the code page cannot hold.
  void Substituted(std::size_t characters);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 private:
  struct LineLayout {
    std::unique_ptr<QTextLayout> layout;
    std::vector<std::size_t> byte_of_index;  // display index -> byte in the line (size = text + 1)
    std::size_t byte_from = 0;       // first byte laid out (long lines are laid out in part)
    std::size_t byte_to = 0;         // the byte after the last one laid out
    qreal x_offset = 0;
    qreal height = 0;
  };
  // A line's layout; with word wrap, of its `piece`-th piece.
  LineLayout& Layout(std::size_t line, std::size_t piece = 0);
  std::pair<std::size_t, std::size_t> PieceRange(std::size_t line, std::size_t piece) const;
  std::size_t PieceOf(std::size_t line, std::size_t byte) const;
  void PaintPiece(QPainter& p, LineLayout& l, std::size_t line, qreal y);
  // The scroll bar's unit at the top (a line, or with word wrap a piece) and the row
  // within it.
  std::size_t TopPiece() const;
  void SetTop(std::size_t unit, int row);
  // Wrap mode: where the caret is on screen (scrolled into view first), and a move by rows.
  QPointF CaretPoint();
  void MoveByRows(int rows, bool extend);
  void Invalidate();
  void UpdateScrollBars();
  qreal CharWidth() const;
  std::size_t OffsetAt(const QPointF& pos);
  void MoveCaret(std::size_t offset, bool extend);
  std::size_t PrevCharStart(std::size_t line, std::size_t byte) const;
  std::size_t NextCharEnd(std::size_t line, std::size_t byte) const;
  std::size_t AlignToChar(std::string_view line, std::size_t byte) const;
  int DisplayIndex(const LineLayout& l, std::size_t byte) const;
  // The first offset the caret may take (past a UTF-8 byte-order mark).
  std::size_t TextStart() const;
  // Editing: the keys that edit (true when the key was one), one edit applied and shown.
  bool EditKey(QKeyEvent* event);
  void ApplyEdit(std::size_t offset, std::size_t length, std::string_view bytes, bool typing);
  void AfterTextChange(std::size_t only_line = SIZE_MAX, std::size_t old_pieces = 0);
  // Text typed or pasted as pane bytes (line ends CR LF).
  std::string EncodeTyped(const QString& text, std::size_t* unmappable) const;
  // Where the caret is drawn in the viewport (empty when it is not on screen).
  QRectF CaretRect();

  const LineSource* doc_ = nullptr;
  EditDocument* edit_ = nullptr;
  bool typing_ = false;   // the last edit was typing at the caret: the next merges with it
  QString preedit_;       // the input method's text being composed
  encoding::CodePage page_ = encoding::CodePage::Cp932;
  bool wrap_ = false;
  qreal tab_distance_ = 0;
  QColor text_color_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  std::unordered_map<std::size_t, LineLayout> cache_;  // by line, or with word wrap by piece
  WrapPieces pieces_;
  int first_row_ = 0;        // wrap mode: rows of the top piece scrolled past
  bool scrolling_ = false;   // the view itself moves the bar
  int cache_width_ = -1;
  int cache_hscroll_window_ = -1;
};

}  // namespace haruvi::viewer
