// ByteView's input: the selection and caret as byte offsets, the point under the mouse,
// and the keys that move the caret (by characters, lines or, with word wrap, rows).
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "viewer/byte_view.h"

namespace haruvi::viewer {

std::size_t ByteView::TextStart() const {
  // A UTF-8 text's byte-order mark belongs to the file's form, not to its text: nothing
  // is typed before it, and no selection takes it.
  if (page_ != encoding::CodePage::Utf8 || !doc_ || doc_->LineCount() == 0) return 0;
  return doc_->Line(0).starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

void ByteView::SetSelection(std::size_t start, std::size_t length) {
  const std::size_t end = start + std::min(length, SIZE_MAX - start);
  typing_ = false;  // typing after the caret was placed is a new undo step
  anchor_ = Boundary(start);
  caret_ = Boundary(end);
  // An end that moved back into the start's character still selects that character.
  if (length > 0 && caret_ <= anchor_ && doc_ && anchor_ < doc_->TextCrLfLength()) caret_ = NextBoundary(anchor_);
  emit CaretMoved();
  viewport()->update();
}

std::size_t ByteView::CharsBefore(std::size_t offset) const {
  if (!doc_ || doc_->LineCount() == 0) return 0;
  const std::size_t line = doc_->LineOfOffset(offset);
  const std::string_view bytes = doc_->Line(line);
  const std::size_t stop = std::min(bytes.size(), offset - std::min(offset, doc_->LineStart(line)));
  const auto& codec = encoding::PaneCodec::For(page_);
  std::size_t chars = 0;
  // A byte-order mark is no character of the text.
  for (std::size_t at = line == 0 ? TextStart() : 0; at < stop; ++chars) at += std::max<std::size_t>(1, codec.CharLength(bytes.substr(at)));
  return chars;
}

std::size_t ByteView::NextBoundary(std::size_t offset) const {
  if (!doc_ || doc_->LineCount() == 0) return 0;
  const std::size_t line = doc_->LineOfOffset(offset);
  const std::size_t start = doc_->LineStart(line);
  if (offset - start < doc_->Line(line).size()) return start + NextCharEnd(line, offset - start);
  return line + 1 < doc_->LineCount() ? doc_->LineStart(line + 1) : doc_->TextCrLfLength();
}

void ByteView::SelectAll() { SetSelection(0, doc_ ? doc_->TextCrLfLength() : 0); }

void ByteView::CopySelection() const {
  // The desktop's line end on the clipboard.
  if (SelLength() > 0) QApplication::clipboard()->setText(SelectedDisplayText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString ByteView::SelectedDisplayText() const {
  if (!doc_ || SelLength() == 0) return {};
  const auto& codec = encoding::PaneCodec::For(page_);
  const std::u16string plain = codec.PlainText(codec.Decode(doc_->SliceCrLf(SelStart(), SelLength())));
  return QString::fromUtf16(plain.data(), static_cast<qsizetype>(plain.size()));
}

std::size_t ByteView::OffsetAt(const QPointF& pos) {
  if (!doc_ || doc_->LineCount() == 0) return 0;
  const qreal hx = wrap_ ? 0 : horizontalScrollBar()->value();
  const int spacing = fontMetrics().lineSpacing();
  qreal y = wrap_ ? -static_cast<qreal>(first_row_) * spacing : 0;
  const std::size_t units = wrap_ ? pieces_.Count() : doc_->LineCount();
  for (std::size_t u = wrap_ ? TopPiece() : FirstVisibleLine(); u < units; ++u) {
    const WrapPieces::Piece at = wrap_ ? pieces_.At(u) : WrapPieces::Piece{u, 0};
    LineLayout& l = Layout(at.line, at.index);
    if (pos.y() < y + l.height || u + 1 == units) {
      const qreal local_y = std::clamp<qreal>(pos.y() - y, 0, l.height - 1);
      QTextLine tl = l.layout->lineAt(std::max(0, std::min(l.layout->lineCount() - 1, static_cast<int>(local_y / spacing))));
      int index = tl.isValid() ? tl.xToCursor(pos.x() + hx - l.x_offset - 2) : 0;
      index = std::clamp(index, 0, static_cast<int>(l.byte_of_index.size()) - 1);
      return doc_->LineStart(at.line) + l.byte_of_index[static_cast<size_t>(index)];
    }
    y += l.height;
  }
  return doc_->TextCrLfLength();
}

QPointF ByteView::CaretPoint() {
  EnsureCaretVisible();
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t byte = caret_ - doc_->LineStart(line);
  const int spacing = fontMetrics().lineSpacing();
  const std::size_t piece = PieceOf(line, byte);
  const std::size_t g = pieces_.Global(line, piece);
  qreal y = -static_cast<qreal>(first_row_) * spacing;
  for (std::size_t k = TopPiece(); k < g; ++k) {
    const WrapPieces::Piece at = pieces_.At(k);
    y += Layout(at.line, at.index).height;
  }
  LineLayout& l = Layout(line, piece);
  const int index = DisplayIndex(l, byte);
  const QTextLine tl = l.layout->lineForTextPosition(index);
  return {tl.cursorToX(index) + 2, y + tl.lineNumber() * spacing + spacing / 2.0};
}

void ByteView::MoveByRows(int rows, bool extend) {
  const int spacing = fontMetrics().lineSpacing();
  QPointF p = CaretPoint();
  p.ry() += rows * spacing;
  // Rows beyond the pane scroll it first, then the caret goes to the same place on screen.
  if (p.y() < 0 || p.y() >= viewport()->height()) {
    const int by = p.y() < 0 ? -static_cast<int>((-p.y()) / spacing + 1)
                             : static_cast<int>((p.y() - viewport()->height()) / spacing + 1);
    ScrollLines(by);
    p.ry() -= by * spacing;
  }
  MoveCaret(OffsetAt(p), extend);
}

void ByteView::MoveCaret(std::size_t offset, bool extend) {
  typing_ = false;  // typing elsewhere is a new undo step
  caret_ = Boundary(offset);
  if (!extend) anchor_ = caret_;
  EnsureCaretVisible();
  emit CaretMoved();
  viewport()->update();
}

std::size_t ByteView::PrevCharStart(std::size_t line, std::size_t byte) const {
  if (byte == 0) return 0;
  return AlignToChar(doc_->Line(line), byte - 1);
}

std::size_t ByteView::NextCharEnd(std::size_t line, std::size_t byte) const {
  std::string_view s = doc_->Line(line);
  if (byte >= s.size()) return s.size();
  return byte + std::max<std::size_t>(1, encoding::PaneCodec::For(page_).CharLength(s.substr(byte)));
}

void ByteView::keyPressEvent(QKeyEvent* event) {
  // An empty text can still be typed into.
  if (edit_ && (!doc_ || doc_->LineCount() == 0) && EditKey(event)) return;
  if (!doc_ || doc_->LineCount() == 0) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    CopySelection();
    return;
  }
  if (edit_ && EditKey(event)) return;
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t byte = caret_ - doc_->LineStart(line);
  const std::size_t len = doc_->Line(line).size();
  // A key that moves the caret ends the typing undone as one step, moved or not.
  typing_ = false;
  auto at = [this](std::size_t l, std::size_t b) {
    l = std::min(l, doc_->LineCount() - 1);
    return doc_->LineStart(l) + AlignToChar(doc_->Line(l), b);
  };
  switch (event->key()) {
    case Qt::Key_Left:
      if (byte > 0) MoveCaret(doc_->LineStart(line) + PrevCharStart(line, byte), extend);
      else if (line > 0) MoveCaret(doc_->LineStart(line - 1) + doc_->Line(line - 1).size(), extend);
      return;
    case Qt::Key_Right:
      if (byte < len) MoveCaret(doc_->LineStart(line) + NextCharEnd(line, byte), extend);
      else if (line + 1 < doc_->LineCount()) MoveCaret(doc_->LineStart(line + 1), extend);
      return;
    case Qt::Key_Up:
      if (wrap_) MoveByRows(-1, extend);
      else if (line > 0) MoveCaret(at(line - 1, byte), extend);
      return;
    case Qt::Key_Down:
      if (wrap_) MoveByRows(1, extend);
      else if (line + 1 < doc_->LineCount()) MoveCaret(at(line + 1, byte), extend);
      return;
    case Qt::Key_PageUp:
      if (wrap_) MoveByRows(-VisibleLines(), extend);
      else MoveCaret(at(line > static_cast<std::size_t>(VisibleLines()) ? line - VisibleLines() : 0, byte), extend);
      return;
    case Qt::Key_PageDown:
      if (wrap_) MoveByRows(VisibleLines(), extend);
      else MoveCaret(at(line + static_cast<std::size_t>(VisibleLines()), byte), extend);
      return;
    case Qt::Key_Home:
      MoveCaret(ctrl ? 0 : doc_->LineStart(line), extend);
      return;
    case Qt::Key_End:
      MoveCaret(ctrl ? doc_->TextCrLfLength() : doc_->LineStart(line) + len, extend);
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void ByteView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  MoveCaret(OffsetAt(event->position()), event->modifiers() & Qt::ShiftModifier);
}

void ByteView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) MoveCaret(OffsetAt(event->position()), true);
}

void ByteView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click selects the line: words are not delimited in Japanese text.
  if (!doc_ || doc_->LineCount() == 0) return;
  const std::size_t line = doc_->LineOfOffset(OffsetAt(event->position()));
  SetSelection(doc_->LineStart(line), doc_->Line(line).size());
}

}  // namespace haruvi::viewer
