// ByteView's simple edit: typing, the input method's text, the editing keys and the
// clipboard, each applied to the edit model as one replacement at byte offsets. Nothing
// is re-encoded but the few characters typed, and only the lines on screen are laid out
// again, so a keystroke costs the same on a 100 MB text as on a memo.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include "viewer/byte_view.h"
#include "viewer/edit_document.h"

namespace haruvi::viewer {
namespace {

// Any line end the user gives (from the clipboard or the input method) is the pane's
// CR LF.
QString WithCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

// Text a key types: printable characters, never control codes (those are the keys'
// own business) or the characters of shortcuts: with Ctrl, Alt (Alt+letter opens the
// window's menus) or Meta held, a key is the window's.
bool TypesText(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  if (text.isEmpty()) return false;
  for (const QChar c : text)
    if (c.category() == QChar::Other_Control && c != QLatin1Char('\t')) return false;
  return true;
}

}  // namespace

void ByteView::SetEditable(EditDocument* edit) {
  edit_ = edit;
  typing_ = false;
  preedit_.clear();
  setAttribute(Qt::WA_InputMethodEnabled, edit_ != nullptr);
  viewport()->update();
}

void ByteView::AfterTextChange(std::size_t only_line, std::size_t old_pieces) {
  // An edit inside one line lays out that line again; any other, the screen. With word
  // wrap the pieces are counted again only when that line's count changed: counting
  // walks every line once some line may be longer than a piece.
  const bool wrap_kept = wrap_ && only_line != SIZE_MAX &&
                         WrapPieces::PiecesOf(doc_->Line(only_line).size()) == old_pieces;
  if (wrap_ && doc_ && !wrap_kept) pieces_.Build(*doc_);
  if (only_line != SIZE_MAX && cache_width_ == viewport()->width() && (!wrap_ || wrap_kept)) {
    if (!wrap_) {
      cache_.erase(only_line);
    } else {
      for (std::size_t k = 0; k < old_pieces; ++k) cache_.erase(pieces_.Global(only_line, k));
    }
  } else {
    Invalidate();
  }
  UpdateScrollBars();
  EnsureCaretVisible();
  emit Edited();
  emit CaretMoved();
  // An edit inside one line repaints that line alone (a scroll, which the edit may have
  // caused, repaints everything through the bars' signals).
  const std::size_t top = FirstVisibleLine();
  if (only_line != SIZE_MAX && !wrap_ && only_line >= top) {
    const int spacing = fontMetrics().lineSpacing();
    const auto row = static_cast<int>(std::min<std::size_t>(only_line - top, INT32_MAX / 2 / std::max(1, spacing)));
    viewport()->update(QRect(0, row * spacing, viewport()->width(), spacing));
  } else {
    viewport()->update();
  }
}

void ByteView::ApplyEdit(std::size_t offset, std::size_t length, std::string_view bytes, bool typing) {
  if (!edit_) return;
  // Characters typed one after another at the caret undo together; anything else is a
  // step of its own.
  if (!typing || !typing_ || offset != caret_ || length != 0) {
    edit_->EndGroup();
    if (typing) edit_->BeginGroup();
  }
  // Whether the edit stays inside one line: it takes out no line end and puts none in.
  const std::size_t line = doc_->LineOfOffset(offset);
  const bool one_line = bytes.find_first_of("\r\n") == std::string_view::npos &&
                        offset + length <= doc_->LineStart(line) + doc_->Line(line).size();
  const std::size_t old_pieces = one_line ? WrapPieces::PiecesOf(doc_->Line(line).size()) : 0;
  edit_->Replace(offset, length, bytes);
  anchor_ = caret_ = Boundary(offset + bytes.size());
  AfterTextChange(one_line ? line : SIZE_MAX, old_pieces);
  typing_ = typing;
}

void ByteView::ReplaceAllBytes(std::string_view bytes, std::string_view line_end) {
  if (!edit_) return;
  const std::size_t caret = caret_;
  edit_->EndGroup();
  edit_->ReplaceWithLineEnd(0, edit_->TextCrLfLength(), bytes, line_end);
  anchor_ = caret_ = Boundary(caret);
  typing_ = false;
  AfterTextChange();
}

std::string ByteView::EncodeTyped(const QString& text, std::size_t* unmappable) const {
  const QString crlf = WithCrLf(text);
  return encoding::PaneCodec::For(page_).Encode(
      std::u16string_view(reinterpret_cast<const char16_t*>(crlf.utf16()), static_cast<std::size_t>(crlf.size())),
      unmappable);
}

void ByteView::InsertText(const QString& text, bool typing) {
  if (!edit_ || text.isEmpty()) return;
  std::size_t unmappable = 0;
  const std::string bytes = EncodeTyped(text, &unmappable);
  ApplyEdit(SelStart(), SelLength(), bytes, typing && bytes.find('\n') == std::string::npos);
  if (unmappable > 0) emit Substituted(unmappable);
}

void ByteView::DeleteSelection() {
  if (edit_ && SelLength() > 0) ApplyEdit(SelStart(), SelLength(), {}, false);
}

void ByteView::DeleteBackward() {
  if (!edit_ || !doc_) return;
  if (SelLength() > 0) return DeleteSelection();
  if (caret_ <= TextStart()) return;
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t start = doc_->LineStart(line);
  // Within a line, the character before the caret; at a line's start, the line end
  // before it (CR LF goes as one).
  const std::size_t from = caret_ > start ? start + PrevCharStart(line, caret_ - start)
                                          : doc_->LineStart(line - 1) + doc_->Line(line - 1).size();
  ApplyEdit(from, caret_ - from, {}, false);
}

void ByteView::DeleteForward() {
  if (!edit_ || !doc_) return;
  if (SelLength() > 0) return DeleteSelection();
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t start = doc_->LineStart(line);
  const std::size_t len = doc_->Line(line).size();
  std::size_t to = caret_;
  if (caret_ - start < len) to = start + NextCharEnd(line, caret_ - start);
  else if (line + 1 < doc_->LineCount()) to = doc_->LineStart(line + 1);
  else to = doc_->TextCrLfLength();  // a final line end
  if (to > caret_) ApplyEdit(caret_, to - caret_, {}, false);
}

void ByteView::CutSelection() {
  if (!edit_ || SelLength() == 0) return;
  CopySelection();
  DeleteSelection();
}

std::size_t ByteView::PasteClipboard() {
  if (!edit_) return 0;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty()) return 0;
  std::size_t unmappable = 0;
  const std::string bytes = EncodeTyped(text, &unmappable);
  ApplyEdit(SelStart(), SelLength(), bytes, false);
  if (unmappable > 0) emit Substituted(unmappable);
  return unmappable;
}

bool ByteView::UndoEdit() {
  if (!edit_ || !edit_->CanUndo()) return false;
  const std::size_t caret = edit_->Undo();
  anchor_ = caret_ = Boundary(caret);
  typing_ = false;
  AfterTextChange();
  return true;
}

bool ByteView::RedoEdit() {
  if (!edit_ || !edit_->CanRedo()) return false;
  const std::size_t caret = edit_->Redo();
  anchor_ = caret_ = Boundary(caret);
  typing_ = false;
  AfterTextChange();
  return true;
}

bool ByteView::EditKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) return UndoEdit(), true;
  if (event->matches(QKeySequence::Redo)) return RedoEdit(), true;
  if (event->matches(QKeySequence::Cut)) return CutSelection(), true;
  if (event->matches(QKeySequence::Paste)) return PasteClipboard(), true;
  switch (event->key()) {
    case Qt::Key_Backspace:
      DeleteBackward();
      return true;
    case Qt::Key_Delete:
      DeleteForward();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      InsertText(QStringLiteral("\n"));
      return true;
    case Qt::Key_Tab:
      if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
      InsertText(QStringLiteral("\t"), true);
      return true;
    default:
      break;
  }
  if (!TypesText(event)) return false;
  InsertText(event->text(), true);
  return true;
}

bool ByteView::event(QEvent* event) {
  // While editing, the keys that type or edit are the pane's, before any shortcut.
  if (event->type() == QEvent::ShortcutOverride && edit_) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) || key->matches(QKeySequence::Cut) ||
        key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
        key->matches(QKeySequence::SelectAll) || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
        TypesText(key)) {
      event->accept();
      return true;
    }
  }
  // Tab types a tab while editing rather than moving the focus.
  if (event->type() == QEvent::KeyPress && edit_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab &&
      !(static_cast<QKeyEvent*>(event)->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void ByteView::inputMethodEvent(QInputMethodEvent* event) {
  if (!edit_) return QAbstractScrollArea::inputMethodEvent(event);
  // A committed composition is a step of its own: undo takes back one conversion.
  if (!event->commitString().isEmpty()) InsertText(event->commitString(), false);
  preedit_ = event->preeditString();
  event->accept();
  viewport()->update();
}

QRectF ByteView::CaretRect() {
  const int spacing = fontMetrics().lineSpacing();
  if (!doc_ || doc_->LineCount() == 0) return QRectF(2, 0, 1, spacing);
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t byte = caret_ - doc_->LineStart(line);
  const qreal hx = wrap_ ? 0 : horizontalScrollBar()->value();
  qreal y = wrap_ ? -static_cast<qreal>(first_row_) * spacing : 0;
  const std::size_t piece = wrap_ ? PieceOf(line, byte) : 0;
  const std::size_t unit = wrap_ ? pieces_.Global(line, piece) : line;
  const std::size_t top = wrap_ ? TopPiece() : FirstVisibleLine();
  if (unit < top) return {};
  for (std::size_t u = top; u < unit; ++u) {
    const WrapPieces::Piece at = wrap_ ? pieces_.At(u) : WrapPieces::Piece{u, 0};
    y += Layout(at.line, at.index).height;
    if (y > viewport()->height()) return {};
  }
  LineLayout& l = Layout(line, piece);
  if (byte < l.byte_from || byte > l.byte_to) return {};
  const int index = DisplayIndex(l, byte);
  const QTextLine tl = l.layout->lineForTextPosition(index);
  if (!tl.isValid()) return {};
  return QRectF(l.x_offset - hx + 2 + tl.cursorToX(index), y + tl.y(), 1, tl.height());
}

QVariant ByteView::inputMethodQuery(Qt::InputMethodQuery query) const {
  auto* self = const_cast<ByteView*>(this);  // laying out a line caches it, nothing more
  switch (query) {
    case Qt::ImEnabled:
      return edit_ != nullptr;
    case Qt::ImCursorRectangle:
      return self->CaretRect().toAlignedRect();
    case Qt::ImFont:
      return font();
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImSurroundingText: {
      // The caret's line as characters, and the caret and anchor within it.
      if (!doc_ || doc_->LineCount() == 0) return query == Qt::ImSurroundingText ? QVariant(QString()) : QVariant(0);
      const std::size_t line = doc_->LineOfOffset(caret_);
      const std::size_t start = doc_->LineStart(line);
      const std::string_view bytes = doc_->Line(line);
      const auto& codec = encoding::PaneCodec::For(page_);
      auto chars = [&](std::size_t byte) {
        const std::u16string u = codec.Decode(bytes.substr(0, std::min(byte, bytes.size())));
        return static_cast<int>(u.size());
      };
      if (query == Qt::ImSurroundingText) {
        const std::u16string u = codec.PlainText(codec.Decode(bytes));
        return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
      }
      const std::size_t at = query == Qt::ImCursorPosition ? caret_ : anchor_;
      return chars(at > start ? at - start : 0);
    }
    case Qt::ImCurrentSelection:
      return SelectedDisplayText();
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

}  // namespace haruvi::viewer
